// The race clock: drawn frames of any length become the same fixed race
// steps, so the race is the same race at any frame rate.
#include "app/RaceClock.h"

#include <gtest/gtest.h>

#include <limits>
#include <numeric>
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

    // A second of frames is 240 steps of 1/240 s, the last one in its own
    // frame, although at 72 frames a second the frame times fall a hair
    // short of whole steps in floating point.
    for (int rate : {60, 72}) {
        RaceClock fine(RaceClock::defaultStep);
        const std::vector<int> steps = stepsOf(fine, std::vector<double>(rate, 1.0 / rate));
        EXPECT_EQ(std::accumulate(steps.begin(), steps.end(), 0), 240) << rate << " frames a second";
        EXPECT_EQ(fine.frame(1.0 / 480.0).steps, 0) << "the last frame's step was taken early or late";
    }
}

TEST(RaceClock, ALongFrameRunsOneSecondOfRaceAndBadTimesRunNone)
{
    RaceClock clock(0.1);
    // Nothing of the long frame is carried into the next one.
    EXPECT_EQ(stepsOf(clock, {30.0, 0.05, -2.0, std::numeric_limits<double>::quiet_NaN(), 0.05}),
              (std::vector<int>{10, 0, 0, 0, 1}));

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
