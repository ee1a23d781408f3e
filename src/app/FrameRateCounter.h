#pragma once

#include <string>

// Counts frames until a second of frame time has gathered, then publishes the
// count as the frame rate and as the window title.
class FrameRateCounter {
public:
    // Adds one frame's duration; true when a new title is ready in title().
    bool addFrame(double frameSeconds);
    const std::string& title() const { return currentTitle; }

private:
    double frameTimeAccumulator = 0.0;
    double frameCounter = 0.0;
    std::string currentTitle = "Brimbolt";
};
