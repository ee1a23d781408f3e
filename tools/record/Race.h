#pragma once

#include "Options.h"

class AppMain;

// The real application, set up as the program sets it up but at a chosen
// size, with a fixed random seed and its sound captured rather than played,
// and driven at a fixed step.
namespace race {

// Null, with the reason printed, when there is no window.
AppMain* start(const Options& options);

// One step of the race: the update, and the frame when `draw` is true.
void step(AppMain& app, double seconds, bool draw);

} // namespace race
