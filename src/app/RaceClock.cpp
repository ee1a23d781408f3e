#include "app/RaceClock.h"

#include <algorithm>
#include <cmath>

namespace {

// Frame times that add up to a whole number of steps in exact arithmetic
// (sixty frames of 1/60 s to a second) may fall a hair short in floating
// point; such a frame still takes its last step instead of leaving it for
// the next.
constexpr double roundingSlack = 1e-6;

} // namespace

RaceClock::RaceClock(double step)
    : stepSeconds(std::max(step, 0.0))
{
}

RaceClock::Frame RaceClock::frame(double frameSeconds)
{
    frameSeconds = std::isfinite(frameSeconds) ? std::max(frameSeconds, 0.0) : 0.0;
    if (stepSeconds == 0.0) {
        return {1, frameSeconds, frameSeconds};
    }
    carried += std::min(frameSeconds, longestFrame);
    const double due = std::floor(carried / stepSeconds + roundingSlack);
    carried = std::max(carried - due * stepSeconds, 0.0);
    const int steps = static_cast<int>(due);
    return {steps, stepSeconds, steps * stepSeconds};
}
