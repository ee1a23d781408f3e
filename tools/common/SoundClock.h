#pragma once

#include <vector>

class AppMain;

// The application's captured sound, mixed step by step with the race: each
// call renders exactly the sample frames due for that many more seconds of
// race, carrying the fraction of a frame, so the mix keeps pace with the
// race clock however its steps divide the sample rate.
class SoundClock {
public:
    // Prints, with the tool's name, when the sound is not being captured.
    SoundClock(AppMain& app, const char* toolName);
    // Interleaved stereo; silence from the first failed mix on, which is
    // reported once.
    const std::vector<float>& render(double seconds);
    int sampleRate() const { return rate; }

private:
    AppMain& app;
    const char* toolName;
    int rate = 0;
    double secondsDone = 0.0;
    long framesDone = 0;
    bool failed = false;
    std::vector<float> samples;
};
