#pragma once

#include "render/RenderQuality.h"

class ConfigFile;

// The settings the program takes from its configuration file.
namespace programSettings {

// The configuration file, relative to the working directory bin/.
inline constexpr const char* configFile = "../bin/config.txt";

// "width", "height", "maxWidth", "maxHeight" and "fullscreen" into the
// process-wide window settings.
void readWindow(const ConfigFile& config);
// "raceStep": seconds of race per update, or 0 for one update per drawn frame.
double readRaceStep(const ConfigFile& config);
// The race step of the configuration file the program reads, for tools that
// must run the race the program runs; the default when there is no file.
double configuredRaceStep();
// "quality": "full" (the default) or "fast".
RenderQuality::Level readQuality(const ConfigFile& config);
RenderQuality::Level configuredQuality();

} // namespace programSettings
