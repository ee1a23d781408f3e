#include "app/FrameRateCounter.h"

#include "settings/Settings.h"

#include <cstdio>

bool FrameRateCounter::addFrame(double frameSeconds)
{
    if (frameTimeAccumulator < 1.0) {
        frameTimeAccumulator += frameSeconds;
        frameCounter += 1.0;
        return false;
    }
    // The frame that notices the full second is counted in neither measurement.
    framesPerSecond = frameCounter;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "Brimbolt (%.f FPS)", frameCounter);
    currentTitle = buffer;
    frameCounter = 0.0;
    frameTimeAccumulator = 0.0;
    return true;
}
