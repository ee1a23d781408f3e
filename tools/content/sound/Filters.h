#pragma once

#include "sound/Signal.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace sound {

// Trapezoidal state-variable filter: stays stable while its cutoff moves
// every sample, which the plucked bass and the sweeps rely on.
class StateVariableFilter {
public:
    struct Outputs {
        float low;
        float band;
        float high;
    };

    void setCutoff(double hz, double q)
    {
        const double limited = std::clamp(hz, 5.0, 0.45 * kSampleRate);
        const double g = std::tan(kPi * limited / kSampleRate);
        k_ = 1.0 / q;
        a1_ = 1.0 / (1.0 + g * (g + k_));
        a2_ = g * a1_;
        a3_ = g * a2_;
    }

    Outputs process(float input)
    {
        const double v3 = input - ic2_;
        const double v1 = a1_ * ic1_ + a2_ * v3;
        const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
        ic1_ = 2.0 * v1 - ic1_;
        ic2_ = 2.0 * v2 - ic2_;
        return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(input - k_ * v1 - v2)};
    }

private:
    double k_ = 1.0;
    double a1_ = 1.0;
    double a2_ = 0.0;
    double a3_ = 0.0;
    double ic1_ = 0.0;
    double ic2_ = 0.0;
};

// Runs a stateful per-sample chain over a loop twice and keeps the second
// pass: the state then enters the loop as it leaves it, so the seam is as
// smooth as any other point.
template <typename Step>
std::vector<float> processAsLoop(const std::vector<float>& input, Step&& step)
{
    std::vector<float> output(input.size());
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < input.size(); ++i) {
            output[i] = step(input[i]);
        }
    }
    return output;
}

} // namespace sound
