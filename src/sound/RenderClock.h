#pragma once

#include <chrono>
#include <cstdint>

namespace FMOD {

// Turns wall-clock time into a count of audio frames owed to a device that
// nobody else drives. Frames are counted from a fixed origin rather than
// summed per call, so rounding never accumulates into drift.
class RenderClock {
public:
    using Clock = std::chrono::steady_clock;

    // A long stall (debugger, suspended laptop) is not worth minutes of
    // catch-up mixing; anything older than this is dropped.
    static constexpr std::int64_t kMaxCatchUpSeconds = 10;

    RenderClock(int sampleRate, Clock::time_point origin);

    // Frames due between the previous call and `now`; they count as rendered.
    std::int64_t takeDueFrames(Clock::time_point now);

    int sampleRate() const { return sampleRate_; }

private:
    std::int64_t framesAt(Clock::time_point now) const;

    int sampleRate_;
    Clock::time_point origin_;
    std::int64_t framesTaken_ = 0;
};

}  // namespace FMOD
