#include "app/ProgramSettings.h"

#include "app/ConfigFile.h"
#include "app/RaceClock.h"
#include "app/WindowSize.h"
#include "settings/Settings.h"

#include <cstdio>

namespace programSettings {

namespace {

// Window sides the window system and the GL can give: no window opens at 0
// pixels, and 8K is more than any display shows.
constexpr int smallestWindowSide = 1;
constexpr int largestWindowSide = 8192;

// Steps coarser than a tenth of a second change the race; finer than this
// cost more updates than a slow machine can run in real time.
constexpr double largestRaceStep = 0.1;
constexpr double smallestRaceStep = 1.0 / 2000.0;

} // namespace

void readWindow(const ConfigFile& config)
{
    windowWidth = config.getWholeNumber("width", 1280, smallestWindowSide, largestWindowSide);
    windowHeight = config.getWholeNumber("height", 720, smallestWindowSide, largestWindowSide);
    maxWidth = config.getWholeNumber("maxWidth", 1920, smallestWindowSide, largestWindowSide);
    maxHeight = config.getWholeNumber("maxHeight", 1080, smallestWindowSide, largestWindowSide);
    windowMode = WindowSize::modeFromConfig(config.getWholeNumber("fullscreen", 1));
}

double readRaceStep(const ConfigFile& config)
{
    const double step = config.getDecimal("raceStep", RaceClock::defaultStep, 0.0, largestRaceStep);
    if (step > 0.0 && step < smallestRaceStep) {
        std::printf("Configuration file '%s': raceStep %g is finer than 1/2000 s; using 1/240.\n", config.name().c_str(),
                    step);
        return RaceClock::defaultStep;
    }
    return step;
}

namespace {

// A setting of the program's configuration file, or what a missing file gives.
template <typename Read, typename Value>
Value fromConfigFile(Read read, Value fallback)
{
    try {
        const ConfigFile config(configFile, "=", "#", "EndConfigFile");
        return read(config);
    } catch (const ConfigFile::file_not_found&) {
        return fallback;
    }
}

} // namespace

double configuredRaceStep()
{
    return fromConfigFile(readRaceStep, RaceClock::defaultStep);
}

RenderQuality::Level readQuality(const ConfigFile& config)
{
    const auto& values = config.values();
    const auto entry = values.find("quality");
    if (entry == values.end()) {
        return RenderQuality::Level::Full;
    }
    if (const auto level = RenderQuality::levelNamed(entry->second)) {
        return *level;
    }
    std::printf("Configuration file '%s': quality \"%s\" is not full or fast; using full.\n", config.name().c_str(),
                entry->second.substr(0, entry->second.find('\n')).c_str());
    return RenderQuality::Level::Full;
}

RenderQuality::Level configuredQuality()
{
    return fromConfigFile(readQuality, RenderQuality::Level::Full);
}

} // namespace programSettings
