#include "vehicles/CarMovement.h"
#include "vehicles/Car.h"
#include "vehicles/Wheel.h"

#include "support/ScratchDir.h"
#include "vehicles/VehicleTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace vehicletest;

namespace {

std::string script(const ScratchDir& folder, const std::string& text)
{
    return folder.write("movement.txt", text).string();
}

} // namespace

TEST(CarMovement, EventsTakeEffectOnceTheRaceTimeIsPastThem)
{
    ScratchDir folder;
    CarMovement movement(script(folder, "0;1\n2.5;5\n4;0\n"));
    EXPECT_EQ(movement.eventCount(), 3);
    EXPECT_EQ(movement.flagsAt(0.0f).flags(), 0);
    EXPECT_EQ(movement.flagsAt(0.016f).flags(), 1);
    EXPECT_EQ(movement.flagsAt(2.5f).flags(), 1);
    EXPECT_EQ(movement.flagsAt(3.0f).flags(), 5);
    EXPECT_EQ(movement.flagsAt(10.0f).flags(), 0);
    EXPECT_EQ(movement.flagsAt(1000.0f).flags(), 0);

    // One query past several events answers with the last of them.
    CarMovement jump(script(folder, "0;1\n2.5;5\n4;0\n"));
    EXPECT_EQ(jump.flagsAt(3.0f).flags(), 5);
}

TEST(CarMovement, EmptyOrMissingFilesNeverGiveAControl)
{
    ScratchDir folder;
    CarMovement empty(script(folder, ""));
    CarMovement missing((folder.path() / "absent.txt").string());
    for (CarMovement* movement : {&empty, &missing}) {
        EXPECT_EQ(movement->eventCount(), 1);
        for (float t : {0.0f, 0.5f, 100.0f}) {
            EXPECT_EQ(movement->flagsAt(t).flags(), 0) << "at " << t;
        }
    }
}

TEST(CarMovement, TimeNeverRunsBackwards)
{
    ScratchDir folder;
    CarMovement movement(script(folder, "0;1\n0.75;2\n"));
    EXPECT_EQ(movement.flagsAt(1.0f).flags(), 2);
    EXPECT_EQ(movement.flagsAt(0.5f).flags(), 2);
}

TEST(CarMovement, ALastLineWithoutSeparatorEndsAllControls)
{
    ScratchDir folder;
    // The lone line feed is one more event, (0, 0), applied in the same step
    // as the event before it, whose flags therefore never show.
    CarMovement movement(script(folder, "0;1\n2.5;5\n\n"));
    EXPECT_EQ(movement.eventCount(), 3);
    EXPECT_EQ(movement.flagsAt(1.0f).flags(), 1);
    EXPECT_EQ(movement.flagsAt(3.0f).flags(), 0);
    EXPECT_EQ(movement.flagsAt(9.0f).flags(), 0);

    // Without the line feed after the last event, nothing is added.
    CarMovement unterminated(script(folder, "0;1\n2.5;5"));
    EXPECT_EQ(unterminated.eventCount(), 2);
    EXPECT_EQ(unterminated.flagsAt(3.0f).flags(), 5);
}

TEST(CarMovement, NumbersAreReadLeniently)
{
    ScratchDir folder;
    // Leading blanks, an exponent and trailing text are accepted; unreadable text is 0.
    CarMovement movement(script(folder, "soon;6\n 1e-1;  3 and more\n0.5e1;x7\n"));
    EXPECT_EQ(movement.eventCount(), 3);
    EXPECT_EQ(movement.flagsAt(0.05f).flags(), 6);
    EXPECT_EQ(movement.flagsAt(0.2f).flags(), 3);
    EXPECT_EQ(movement.flagsAt(4.9f).flags(), 3);
    EXPECT_EQ(movement.flagsAt(5.1f).flags(), 0);

    CarMovement signedFlags(script(folder, "-2;+9\n"));
    EXPECT_EQ(signedFlags.flagsAt(-1.0f).flags(), 9);
}

TEST(CarMovement, FlagsTwelveSteerBothWaysAndTheTurnsCancel)
{
    FrameTimeGuard frameTime;
    ScratchDir folder;
    CarMovement movement(script(folder, "0;1\n1.5;12\n"));
    Car car;
    deltaTime = 0.1;
    float raceTime = 0.0f;
    for (int f = 0; f < 30; ++f) {
        raceTime += 0.1f;
        const Controls controls = movement.flagsAt(raceTime);
        const int flags = controls.flags();
        const float headingBefore = headingDegrees(*car.modelMatrix);
        car.applyControls(controls);
        car.updateMotion();
        if (raceTime > 1.55f) {
            ASSERT_EQ(flags, 12);
            ASSERT_GT(*car.speed, 0.0f);
            EXPECT_NEAR(headingDegrees(*car.modelMatrix), headingBefore, 1e-3f) << "at " << raceTime;
            EXPECT_EQ(car.wheels->steeringAngle, 0.0f);
        }
    }
}
