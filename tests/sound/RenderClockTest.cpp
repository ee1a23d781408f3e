#include "sound/RenderClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

namespace {

using FMOD::RenderClock;
using namespace std::chrono;

constexpr int kRate = 44100;

class RenderClockTest : public ::testing::Test {
protected:
    RenderClock::Clock::time_point origin = RenderClock::Clock::now();
    RenderClock clock{kRate, origin};
};

TEST_F(RenderClockTest, HandsOutEveryFrameOnceWithoutDrift)
{
    EXPECT_EQ(clock.takeDueFrames(origin - milliseconds(5)), 0);
    // 1/3 ms is not a whole number of frames; per-call rounding would lose
    // or gain frames over many frames of the demo.
    std::int64_t total = 0;
    for (std::int64_t i = 1; i <= 3000; ++i)
        total += clock.takeDueFrames(origin + nanoseconds(i * 1'000'000'000 / 3000));
    EXPECT_EQ(total, kRate);
    EXPECT_EQ(clock.takeDueFrames(origin + seconds(1)), 0) << "frames handed out twice";
}

TEST_F(RenderClockTest, LongStallsAreCappedEvenAfterDaysOfUptime)
{
    // Nanoseconds times the rate leaves 64 bits after about two and a half
    // days; the later probes are past that. Each must see the capped
    // backlog, then exact seconds, never the dropped backlog again.
    const std::int64_t cap = RenderClock::kMaxCatchUpSeconds * kRate;
    for (int days : {0, 3, 10, 365}) {
        SCOPED_TRACE(days);
        const auto then = origin + hours(24 * days) + seconds(60);
        EXPECT_EQ(clock.takeDueFrames(then), cap);
        EXPECT_EQ(clock.takeDueFrames(then + seconds(1)), kRate);
        EXPECT_EQ(clock.takeDueFrames(then + milliseconds(1500)), kRate / 2);
    }
}

}  // namespace
