#include "sound/music/Synths.h"

#include "sound/Filters.h"
#include "sound/Oscillators.h"
#include "sound/Pitch.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace sound {
namespace {

// Linear attack, hold, linear release ending exactly at zero.
double gateEnvelope(double t, double attack, double gate, double release)
{
    if (t < attack) {
        return t / attack;
    }
    if (t < gate) {
        return 1.0;
    }
    return std::max(0.0, 1.0 - (t - gate) / release);
}

} // namespace

void playBass(StereoLoop& bus, double startSeconds, double gateSeconds, int midiNote, float velocity)
{
    const double increment = midiToHz(midiNote) / kSampleRate;
    const double release = 0.04;
    Oscillator saw;
    Oscillator sub;
    StateVariableFilter filter;
    bus.addVoice(startSeconds, gateSeconds + release, 0.0f, [&](double t) {
        // The filter snaps open and closes again: a plucked, funky bass.
        filter.setCutoff(180.0 + 1500.0 * velocity * std::exp(-t / 0.07), 1.4);
        const double raw = 0.7 * saw.saw(increment) + 0.6 * sub.sine(increment);
        return 0.8 * velocity * gateEnvelope(t, 0.004, gateSeconds, release) * filter.process(static_cast<float>(raw)).low;
    });
}

void playPad(StereoLoop& bus, double startSeconds, double gateSeconds, int midiNote, float velocity)
{
    // Two saws a few cents apart, one per side, beat slowly against each
    // other: the width and movement of a string pad.
    struct Layer {
        double cents;
        float pan;
        double phase;
    };
    static constexpr std::array<Layer, 2> kLayers{{{-7.0, -0.6f, 0.0}, {7.0, 0.6f, 0.37}}};
    const double release = 0.6;
    for (const Layer& layer : kLayers) {
        const double increment = midiToHz(midiNote + layer.cents / 100.0) / kSampleRate;
        Oscillator saw(layer.phase);
        StateVariableFilter filter;
        filter.setCutoff(1500.0, 0.7);
        bus.addVoice(startSeconds, gateSeconds + release, layer.pan, [&](double t) {
            const double envelope = gateEnvelope(t, 0.12, gateSeconds, release);
            return 0.13 * velocity * envelope * filter.process(static_cast<float>(saw.saw(increment))).low;
        });
    }
}

void playLead(StereoLoop& bus, double startSeconds, double gateSeconds, int midiNote, float velocity)
{
    const double hz = midiToHz(midiNote);
    const double release = 0.12;
    Oscillator pulse;
    Oscillator body;
    StateVariableFilter filter;
    bus.addVoice(startSeconds, gateSeconds + release, 0.1f, [&](double t) {
        // Vibrato only creeps in on held notes, as a singer's would.
        const double vibratoDepth = 0.004 * std::clamp((t - 0.18) / 0.25, 0.0, 1.0);
        const double increment = hz * (1.0 + vibratoDepth * std::sin(2.0 * kPi * 5.5 * t)) / kSampleRate;
        filter.setCutoff(1400.0 + 3200.0 * std::exp(-t / 0.2), 0.9);
        const double raw = 0.55 * pulse.pulse(increment, 0.3) + 0.6 * body.sine(increment);
        return 0.26 * velocity * gateEnvelope(t, 0.008, gateSeconds, release) * filter.process(static_cast<float>(raw)).low;
    });
}

} // namespace sound
