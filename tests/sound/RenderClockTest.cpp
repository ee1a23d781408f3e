#include "sound/RenderClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

namespace {

using FMOD::RenderClock;
using std::chrono::hours;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

constexpr int kRate = 44100;

class RenderClockTest : public ::testing::Test {
protected:
    RenderClock::Clock::time_point origin = RenderClock::Clock::now();
    RenderClock clock{kRate, origin};
};

TEST_F(RenderClockTest, OneSecondIsOneSecondOfFrames)
{
    EXPECT_EQ(clock.takeDueFrames(origin + seconds(1)), kRate);
    EXPECT_EQ(clock.takeDueFrames(origin + seconds(1)), 0) << "frames handed out twice";
}

TEST_F(RenderClockTest, TimeBeforeTheOriginOwesNothing)
{
    EXPECT_EQ(clock.takeDueFrames(origin - milliseconds(5)), 0);
    EXPECT_EQ(clock.takeDueFrames(origin), 0);
    EXPECT_EQ(clock.takeDueFrames(origin + milliseconds(10)), kRate / 100);
}

TEST_F(RenderClockTest, FrequentSmallStepsDoNotDrift)
{
    // 1/3 ms is not a whole number of frames; per-call rounding would lose
    // or gain frames over many frames of the demo.
    std::int64_t total = 0;
    for (std::int64_t i = 1; i <= 3000; ++i)
        total += clock.takeDueFrames(origin + nanoseconds(i * 1'000'000'000 / 3000));
    EXPECT_EQ(total, kRate);
}

TEST_F(RenderClockTest, LongStallIsCappedAndTheBacklogDropped)
{
    const std::int64_t cap = RenderClock::kMaxCatchUpSeconds * kRate;
    EXPECT_EQ(clock.takeDueFrames(origin + seconds(60)), cap);
    EXPECT_EQ(clock.takeDueFrames(origin + seconds(60) + milliseconds(500)), kRate / 2)
        << "the dropped backlog came back";
}

TEST_F(RenderClockTest, DaysOfUptimeDoNotOverflow)
{
    // Nanoseconds times the rate leaves 64 bits after about two and a half
    // days; every probe below is past that and must still see the full
    // backlog (capped) and then exact seconds.
    const std::int64_t cap = RenderClock::kMaxCatchUpSeconds * kRate;
    for (int days : {3, 10, 30, 365}) {
        SCOPED_TRACE(days);
        const auto then = origin + hours(24 * days);
        EXPECT_EQ(clock.takeDueFrames(then), cap);
        EXPECT_EQ(clock.takeDueFrames(then + seconds(1)), kRate);
        EXPECT_EQ(clock.takeDueFrames(then + milliseconds(1500)), kRate / 2);
    }
}

}  // namespace
