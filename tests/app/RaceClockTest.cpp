// The race clock: drawn frames of any length become the same fixed race
// steps, so the race is the same race at any frame rate.
#include "app/RaceClock.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

// Steps run by frames of the given durations, in order.
std::vector<int> stepsOf(RaceClock& clock, const std::vector<double>& frames)
{
    std::vector<int> steps;
    for (double frame : frames) {
        steps.push_back(clock.frame(frame).steps);
    }
    return steps;
}

} // namespace

TEST(RaceClock, FramesRunWholeStepsAndCarryTheRest)
{
    RaceClock clock(0.25);
    // 0.1 + 0.1 + 0.1 = 0.3 holds one step with 0.05 over; 0.2 more makes 0.25 again.
    EXPECT_EQ(stepsOf(clock, {0.1, 0.1, 0.1, 0.2, 0.0, 1.0}), (std::vector<int>{0, 0, 1, 1, 0, 4}));
    const RaceClock::Frame frame = clock.frame(0.5);
    EXPECT_EQ(frame.steps, 2);
    EXPECT_EQ(frame.stepSeconds, 0.25);
    EXPECT_EQ(frame.raceSeconds, 0.5);

    // Sixty frames of 1/60 s are 240 steps of 1/240 s, although the frame
    // times do not add up to exactly one second in floating point.
    RaceClock fine(RaceClock::defaultStep);
    int steps = 0;
    for (int i = 0; i < 60; ++i) {
        steps += fine.frame(1.0 / 60.0).steps;
    }
    EXPECT_EQ(steps, 240);
    EXPECT_EQ(fine.frame(1.0 / 480.0).steps, 0) << "the last frame's step was taken early or late";
}

TEST(RaceClock, ALongFrameRunsOneSecondOfRaceAndBadTimesRunNone)
{
    RaceClock clock(0.1);
    EXPECT_EQ(clock.frame(30.0).steps, 10);
    // Nothing of the long frame is carried into the next one.
    EXPECT_EQ(clock.frame(0.05).steps, 0);
    EXPECT_EQ(clock.frame(-2.0).steps, 0);
    EXPECT_EQ(clock.frame(std::numeric_limits<double>::quiet_NaN()).steps, 0);
    EXPECT_EQ(clock.frame(0.05).steps, 1);

    clock.frame(0.09);
    clock.dropCarry();
    EXPECT_EQ(clock.frame(0.05).steps, 0) << "a fresh race took the old race's remainder";
}

TEST(RaceClock, WithoutAStepEachFrameIsOneUpdateOfItsOwnTime)
{
    RaceClock clock(0.0);
    for (double frame : {0.0, 0.004, 0.5, 2.0}) {
        const RaceClock::Frame result = clock.frame(frame);
        EXPECT_EQ(result.steps, 1);
        EXPECT_EQ(result.stepSeconds, frame);
        EXPECT_EQ(result.raceSeconds, frame);
    }
}
