#include "vehicles/Car.h"
#include "vehicles/Wheel.h"
#include "scene/Camera.h"

#include "scene/GlmExpectations.h"
#include "vehicles/VehicleTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using glm_expectations::near;
using namespace vehicletest;

namespace {

// One frame of the race update with these controls held.
void frame(Car& car, bool accelerate, bool brake = false, bool left = false, bool right = false)
{
    car.wheels->steeringAngle = 0.0f;
    if (accelerate) {
        car.accelerate();
    }
    if (brake) {
        car.brake();
    }
    if (left) {
        car.steerLeft();
    }
    if (right) {
        car.steerRight();
    }
    car.updateMotion();
}

float speedAfter(void (Car::*control)(), float start)
{
    Car car;
    *car.speed = start;
    (car.*control)();
    return *car.speed;
}

} // namespace

TEST(CarDynamics, AccelerateAndBrakeStopAtTheirLimits)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.1;

    EXPECT_FLOAT_EQ(speedAfter(&Car::accelerate, 20.5f), 21.5f);
    // 21 + 1 would reach maxSpeed: the step is skipped, not shortened.
    EXPECT_FLOAT_EQ(speedAfter(&Car::accelerate, 21.0f), 21.0f);
    EXPECT_FLOAT_EQ(speedAfter(&Car::accelerate, 21.7f), 21.7f);
    EXPECT_FLOAT_EQ(speedAfter(&Car::accelerate, -3.0f), -2.0f);

    EXPECT_FLOAT_EQ(speedAfter(&Car::brake, 0.0f), -1.5f);
    EXPECT_FLOAT_EQ(speedAfter(&Car::brake, 8.0f), 6.5f);
    // The reverse limit is tested before the step, so one step may pass it.
    EXPECT_FLOAT_EQ(speedAfter(&Car::brake, -14.0f), -15.5f);
    EXPECT_FLOAT_EQ(speedAfter(&Car::brake, -15.0f), -15.0f);
}

TEST(CarDynamics, FullThrottleSettlesIntoACycleBelowTopSpeed)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.1;
    Car car;

    // Accelerating gains 1 and rolling resistance takes 0.4 each frame.
    for (int f = 1; f <= 35; ++f) {
        frame(car, true);
        ASSERT_NEAR(*car.speed, 0.6f * static_cast<float>(f), 1e-3f) << "frame " << f;
    }
    const std::array<float, 5> cycle{20.6f, 21.2f, 20.8f, 21.4f, 21.0f};
    for (int round = 0; round < 20; ++round) {
        for (float expected : cycle) {
            frame(car, true);
            ASSERT_NEAR(*car.speed, expected, 1e-3f) << "round " << round;
            ASSERT_LT(*car.speed, car.maxSpeed);
        }
    }
}

TEST(CarDynamics, RollingResistanceStopsSlowCarsOutright)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.1;
    // Forwards 4 per second, reversing 8; whatever is closer to rest than one step stops.
    const std::vector<std::pair<float, float>> cases{
        {5.0f, 4.6f}, {0.3f, 0.0f}, {-0.5f, 0.0f}, {-0.9f, -0.1f}, {-5.0f, -4.2f}};
    for (const auto& [start, expected] : cases) {
        Car car;
        *car.speed = start;
        car.updateMotion();
        EXPECT_NEAR(*car.speed, expected, 1e-5f) << "from " << start;
    }
}

TEST(CarDynamics, TurnRateRisesToTheThresholdAndFallsTowardsTopSpeed)
{
    Car car;
    const std::vector<std::pair<float, float>> cases{
        {0.0f, 0.0f}, {1.5f, 50.0f}, {3.0f, 100.0f}, {22.0f, 66.667f}, {-10.0f, -87.719f}, {-1.5f, -50.0f}};
    for (const auto& [speed, rate] : cases) {
        *car.speed = speed;
        EXPECT_NEAR(car.turnRate(), rate, 1e-3f) << "at speed " << speed;
    }
    // The rate follows the distance actually covered.
    *car.speed = 3.0f;
    car.speedFactor = 0.5f;
    EXPECT_NEAR(car.turnRate(), 50.0f, 1e-3f);
}

TEST(CarDynamics, SteeringTurnsTheCarItsFrontWheelsAndTheCameraLag)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.1;

    Car left;
    *left.speed = 10.0f;
    left.steerLeft();
    EXPECT_NEAR(headingDegrees(*left.modelMatrix), 8.772f, 1e-3f);
    EXPECT_NEAR(left.wheels->steeringAngle, 26.316f, 1e-3f);
    // Added after the rotation's own transform, which decayed the old (zero) lag.
    EXPECT_NEAR(left.cameraLag, 8.772f, 1e-3f);
    left.updateMotion();
    EXPECT_NEAR(left.cameraLag, 8.772f * 0.8f, 1e-3f);
    EXPECT_FALSE(left.steeringLeft);

    // Both steering controls in one frame: the two turns cancel, the wheels stay straight.
    Car both;
    *both.speed = 10.0f;
    frame(both, false, false, true, true);
    EXPECT_NEAR(headingDegrees(*both.modelMatrix), 0.0f, 1e-4f);
    EXPECT_EQ(both.wheels->steeringAngle, 0.0f);

    // Reversing, steering left turns the car the other way.
    Car reversing;
    *reversing.speed = -10.0f;
    reversing.steerLeft();
    EXPECT_NEAR(headingDegrees(*reversing.modelMatrix), -8.772f, 1e-3f);
    EXPECT_NEAR(reversing.wheels->steeringAngle, 26.316f, 1e-3f);

    // At rest there is nothing to turn.
    Car parked;
    parked.steerRight();
    EXPECT_EQ(headingDegrees(*parked.modelMatrix), 0.0f);
}

TEST(CarDynamics, CameraLagDecaysWithTimeOnly)
{
    FrameTimeGuard frameTime;
    Car car;
    car.cameraLag = 5.0f;
    deltaTime = 0.0;
    car.translate(1.0f, 0.0f, 0.0f);
    car.updateMotion();
    EXPECT_EQ(car.cameraLag, 5.0f);

    deltaTime = 0.1;
    car.translate(1.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(car.cameraLag, 4.0f);
}

TEST(CarDynamics, CoastingFromTopSpeedStopsAfterFiveAndAHalfSeconds)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.1;
    Car car;
    *car.speed = 22.0f;
    for (int f = 0; f < 54; ++f) {
        frame(car, false);
    }
    EXPECT_NEAR(*car.speed, 0.4f, 1e-3f);
    frame(car, false);
    EXPECT_NEAR(*car.speed, 0.0f, 1e-3f);
    frame(car, false);
    EXPECT_EQ(*car.speed, 0.0f);
    // It rolled along its heading (-Z) only, each frame by its speed after
    // the resistance: (21.6 + 21.2 + ... + 0.4) * 0.1.
    const glm::vec3 position((*car.modelMatrix)[3]);
    EXPECT_NEAR(position.z, -59.4f, 1e-2f);
    EXPECT_EQ(position.x, 0.0f);
    EXPECT_EQ(position.y, 0.0f);
}

TEST(CarDynamics, ChaseCameraRidesBehindAndAboveAndResetBringsTheCarBack)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.0;
    Car car;
    car.translate(5.0f, 0.0f, -3.0f);
    car.rotateY(90.0f);

    // Facing -X now, so "behind" is +X.
    const glm::vec3 eye((*car.camera->modelMatrix)[3]);
    EXPECT_TRUE(near(eye, glm::vec3(17.0f, 6.0f, -3.0f), 1e-4f));
    EXPECT_TRUE(near(*car.camera->modelMatrix * *car.camera->inverseModelMatrix, glm::mat4(1.0f), 1e-5f));
    // Pitched down 15 degrees.
    const glm::vec3 view(*car.camera->modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f));
    EXPECT_NEAR(glm::degrees(std::asin(view.y)), -15.0f, 1e-3f);

    // With a lag the camera trails the heading: it stays turned back by the lag.
    car.cameraLag = 10.0f;
    car.translate(0.0f, 0.0f, 0.0f);
    EXPECT_NEAR(headingDegrees(*car.camera->modelMatrix), 80.0f, 1e-3f);

    *car.speed = 7.0f;
    car.speedFactor = 2.0f;
    car.reset();
    EXPECT_EQ(*car.modelMatrix, glm::mat4(1.0f));
    EXPECT_EQ(*car.camera->modelMatrix, glm::mat4(1.0f));
    EXPECT_EQ(*car.speed, 0.0f);
    EXPECT_EQ(car.speedFactor, 1.0f);
    EXPECT_EQ(car.cameraLag, 0.0f);
    EXPECT_EQ(*car.direction, glm::vec3(0.0f, 0.0f, -1.0f));
}
