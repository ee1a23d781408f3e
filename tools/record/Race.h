#pragma once

#include "Options.h"

#include <cstdint>
#include <vector>

class AppMain;

// The real application, set up as the program sets it up but at a chosen
// size, with a fixed random seed and its sound captured rather than played,
// and driven at a fixed step.
namespace race {

// Null, with the reason printed, when there is no window.
AppMain* start(const Options& options);

// One step of the race: the update, and the frame when `draw` is true.
void step(AppMain& app, double seconds, bool draw);

// The race's sound for one step: the samples of exactly the frames due
// since the last call, so the sound keeps step with the pictures.
class SoundClock {
public:
    SoundClock(AppMain& app, double step);
    const std::vector<float>& render(); // interleaved stereo
    int sampleRate() const { return rate; }

private:
    AppMain& app;
    double step;
    int rate = 0;
    long stepsDone = 0;
    long framesDone = 0;
    std::vector<float> samples;
};

} // namespace race
