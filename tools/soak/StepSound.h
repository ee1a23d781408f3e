#pragma once

#include <vector>

class AppMain;

// The application's captured sound, mixed step by step: each call renders
// exactly the sample frames due since the last one, so the mix keeps pace
// with the race clock however the step divides the sample rate. The samples
// are thrown away; mixing them is the work being soaked.
class StepSound {
public:
    StepSound(AppMain& app, double step);
    // False, with the reason printed once, when the mix cannot be rendered.
    bool render();
    int sampleRate() const { return rate; }

private:
    AppMain& app;
    double step;
    int rate = 0;
    long stepsDone = 0;
    long framesDone = 0;
    bool failed = false;
    std::vector<float> samples; // interleaved stereo, kept to spare an allocation a step
};
