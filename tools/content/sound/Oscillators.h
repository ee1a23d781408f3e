#pragma once

#include "sound/Signal.h"

#include <cmath>

namespace sound {

// Polynomial band-limited step residual: takes the worst aliasing off the
// saw and pulse edges without the cost of additive synthesis.
inline double polyBlep(double phase, double increment)
{
    if (phase < increment) {
        const double t = phase / increment;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - increment) {
        const double t = (phase - 1.0) / increment;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// A phase accumulator in cycles; the caller passes the per-sample increment
// (frequency / sample rate) so pitch can glide freely.
class Oscillator {
public:
    explicit Oscillator(double startPhase = 0.0) : phase_(startPhase) {}

    double sine(double increment) { return advance(std::sin(2.0 * kPi * phase_), increment); }

    double saw(double increment) { return advance(2.0 * phase_ - 1.0 - polyBlep(phase_, increment), increment); }

    double pulse(double increment, double width)
    {
        double value = phase_ < width ? 1.0 : -1.0;
        value += polyBlep(phase_, increment);
        value -= polyBlep(std::fmod(phase_ + 1.0 - width, 1.0), increment);
        return advance(value, increment);
    }

private:
    double advance(double value, double increment)
    {
        phase_ += increment;
        phase_ -= std::floor(phase_);
        return value;
    }

    double phase_;
};

} // namespace sound
