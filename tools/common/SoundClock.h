#pragma once

#include <vector>

class AppMain;

// The application's captured sound, mixed step by step: each call renders
// exactly the sample frames due since the last one, so the mix keeps pace
// with the race clock however the step divides the sample rate.
class SoundClock {
public:
    // Prints, with the tool's name, when the sound is not being captured.
    SoundClock(AppMain& app, double step, const char* toolName);
    // Interleaved stereo; silence from the first failed mix on, which is
    // reported once.
    const std::vector<float>& render();
    int sampleRate() const { return rate; }

private:
    AppMain& app;
    double step;
    const char* toolName;
    int rate = 0;
    long stepsDone = 0;
    long framesDone = 0;
    bool failed = false;
    std::vector<float> samples;
};
