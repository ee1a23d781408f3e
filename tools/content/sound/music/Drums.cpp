#include "sound/music/Drums.h"

#include "sound/Filters.h"

#include <algorithm>
#include <cmath>

namespace sound {
namespace {

// A fast linear ramp at the start of every hit, so no drum starts with a step.
double onset(double t)
{
    return std::min(1.0, t / 0.0015);
}

} // namespace

void playKick(StereoLoop& bus, double startSeconds, float velocity)
{
    double phase = 0.0;
    bus.addVoice(startSeconds, 0.45, 0.0f, [&](double t) {
        // The quick fall from 160 Hz gives the beater's punch, the 48 Hz
        // body the weight.
        const double hz = 48.0 + 112.0 * std::exp(-t / 0.03);
        phase += hz / kSampleRate;
        const double body = std::sin(2.0 * kPi * phase) * std::exp(-t / 0.16);
        const double tailOff = std::min(1.0, (0.45 - t) / 0.05);
        return 0.95 * velocity * onset(t) * tailOff * std::tanh(1.6 * body);
    });
}

void playSnare(StereoLoop& bus, Random& noise, double startSeconds, float velocity)
{
    StateVariableFilter wires;
    wires.setCutoff(1900.0, 0.8);
    bus.addVoice(startSeconds, 0.3, 0.05f, [&](double t) {
        const double shell = 0.5 * std::sin(2.0 * kPi * 185.0 * t) * std::exp(-t / 0.045) +
                             0.3 * std::sin(2.0 * kPi * 330.0 * t) * std::exp(-t / 0.03);
        const double rattle = wires.process(noise.bipolar()).high * std::exp(-t / 0.075);
        const double tailOff = std::min(1.0, (0.3 - t) / 0.04);
        return 0.55 * velocity * onset(t) * tailOff * (shell + 0.9 * rattle);
    });
}

void playHiHat(StereoLoop& bus, Random& noise, double startSeconds, float velocity, bool open)
{
    StateVariableFilter air;
    air.setCutoff(7500.0, 0.9);
    const double decay = open ? 0.12 : 0.025;
    const double length = open ? 0.4 : 0.12;
    bus.addVoice(startSeconds, length, 0.3f, [&](double t) {
        const double tailOff = std::min(1.0, (length - t) / 0.02);
        return 0.2 * velocity * onset(t) * tailOff * air.process(noise.bipolar()).high * std::exp(-t / decay);
    });
}

void playCrash(StereoLoop& bus, Random& noise, double startSeconds, float velocity)
{
    StateVariableFilter shimmer;
    shimmer.setCutoff(5000.0, 0.7);
    StateVariableFilter body;
    body.setCutoff(3200.0, 2.0);
    bus.addVoice(startSeconds, 2.5, -0.35f, [&](double t) {
        const float hiss = noise.bipolar();
        const double value = shimmer.process(hiss).high + 0.5 * body.process(hiss).band;
        const double tailOff = std::min(1.0, (2.5 - t) / 0.2);
        return 0.22 * velocity * onset(t) * tailOff * value * std::exp(-t / 0.7);
    });
}

} // namespace sound
