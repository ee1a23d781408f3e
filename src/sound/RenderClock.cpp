#include "sound/RenderClock.h"

namespace FMOD {

RenderClock::RenderClock(int sampleRate, Clock::time_point origin)
    : sampleRate_(sampleRate)
    , origin_(origin)
{
}

std::int64_t RenderClock::framesAt(Clock::time_point now) const
{
    using std::chrono::nanoseconds;
    const std::int64_t elapsed = std::chrono::duration_cast<nanoseconds>(now - origin_).count();
    if (elapsed <= 0)
        return 0;
    // Whole seconds and the remainder separately: elapsed * rate alone would
    // overflow after a couple of days of uptime.
    constexpr std::int64_t kNanosPerSecond = 1'000'000'000;
    return elapsed / kNanosPerSecond * sampleRate_ + elapsed % kNanosPerSecond * sampleRate_ / kNanosPerSecond;
}

std::int64_t RenderClock::takeDueFrames(Clock::time_point now)
{
    const std::int64_t target = framesAt(now);
    std::int64_t due = target - framesTaken_;
    if (due <= 0)
        return 0;
    const std::int64_t limit = kMaxCatchUpSeconds * sampleRate_;
    if (due > limit)
        due = limit;
    framesTaken_ = target;
    return due;
}

}  // namespace FMOD
