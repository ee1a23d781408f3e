#include "vehicles/Car.h"
#include "vehicles/Wheel.h"
#include "scene/Camera.h"

#include "scene/GlmExpectations.h"
#include "vehicles/VehicleTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using glm_expectations::near;
using namespace vehicletest;

TEST(CarDynamics, AccelerateAndBrakeStopAtTheirLimits)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.1;
    struct Case {
        void (Car::*control)();
        float from;
        float to;
    };
    const Case cases[] = {
        {&Car::accelerate, 20.5f, 21.5f},
        // 21 + 1 would reach maxSpeed: the step is skipped, not shortened.
        {&Car::accelerate, 21.0f, 21.0f}, {&Car::accelerate, 21.7f, 21.7f}, {&Car::accelerate, -3.0f, -2.0f},
        {&Car::brake, 0.0f, -1.5f}, {&Car::brake, 8.0f, 6.5f},
        // The reverse limit is tested before the step, so one step may pass it.
        {&Car::brake, -14.0f, -15.5f}, {&Car::brake, -15.0f, -15.0f},
    };
    for (const Case& c : cases) {
        Car car;
        *car.speed = c.from;
        (car.*c.control)();
        EXPECT_FLOAT_EQ(*car.speed, c.to) << (c.control == &Car::brake ? "braking" : "accelerating") << " from " << c.from;
    }
}

TEST(CarDynamics, CoastingLosesFourASecondForwardsAndEightReversingAndStopsOutright)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.1;
    // Whatever is closer to rest than one step's loss stops.
    const std::vector<std::pair<float, float>> cases{
        {5.0f, 4.6f}, {0.3f, 0.0f}, {-0.5f, 0.0f}, {-0.9f, -0.1f}, {-5.0f, -4.2f}};
    for (const auto& [start, expected] : cases) {
        Car car;
        *car.speed = start;
        car.updateMotion();
        EXPECT_NEAR(*car.speed, expected, 1e-5f) << "from " << start;
    }

    // From top speed the car rolls out in 5.5 s, along its heading (-Z) only,
    // each frame by its speed after the loss: (21.6 + 21.2 + ... + 0.4) * 0.1.
    Car car;
    *car.speed = 22.0f;
    for (int f = 0; f < 55; ++f) {
        ASSERT_GT(*car.speed, 0.0f) << "stopped after " << f << " frames";
        drive(car, Controls());
    }
    EXPECT_NEAR(*car.speed, 0.0f, 1e-3f);
    drive(car, Controls());
    EXPECT_EQ(*car.speed, 0.0f);
    EXPECT_TRUE(near(glm::vec3((*car.modelMatrix)[3]), glm::vec3(0.0f, 0.0f, -59.4f), 1e-2f));
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
    auto carAt = [](float speed) {
        auto car = std::make_unique<Car>();
        *car->speed = speed;
        return car;
    };

    auto left = carAt(10.0f);
    left->steerLeft();
    EXPECT_NEAR(headingDegrees(*left->modelMatrix), 8.772f, 1e-3f);
    EXPECT_NEAR(left->wheels->steeringAngle, 26.316f, 1e-3f);
    // Added after the rotation's own transform, which decayed the old (zero) lag.
    EXPECT_NEAR(left->cameraLag, 8.772f, 1e-3f);
    left->updateMotion();
    EXPECT_NEAR(left->cameraLag, 8.772f * 0.8f, 1e-3f);

    // Each frame's steering is its own: the way the wheels pointed in the
    // frame before does not cancel the other way in this one.
    drive(*left, Control::SteerRight);
    EXPECT_LT(left->wheels->steeringAngle, -20.0f) << "left, then right";
    drive(*left, Control::SteerLeft);
    EXPECT_GT(left->wheels->steeringAngle, 20.0f) << "right, then left";

    // Both steering controls in one frame: the turns cancel, the wheels stay straight.
    auto both = carAt(10.0f);
    drive(*both, Controls(static_cast<int>(Control::SteerLeft) | static_cast<int>(Control::SteerRight)));
    EXPECT_NEAR(headingDegrees(*both->modelMatrix), 0.0f, 1e-4f);
    EXPECT_EQ(both->wheels->steeringAngle, 0.0f);

    // Reversing, steering left turns the car the other way, and its front
    // wheels still point left, as a real car's do.
    auto reversing = carAt(-10.0f);
    reversing->steerLeft();
    EXPECT_NEAR(headingDegrees(*reversing->modelMatrix), -8.772f, 1e-3f);
    EXPECT_NEAR(reversing->wheels->steeringAngle, 26.316f, 1e-3f);
    auto reversingRight = carAt(-10.0f);
    drive(*reversingRight, Control::SteerRight);
    EXPECT_NEAR(reversingRight->wheels->steeringAngle, -26.316f, 1e-3f);

    // At rest there is nothing to turn.
    auto parked = carAt(0.0f);
    parked->steerRight();
    EXPECT_EQ(headingDegrees(*parked->modelMatrix), 0.0f);
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

    // With a lag the camera trails the heading: it stays turned back by the
    // lag, and the lag decays only with time.
    car.cameraLag = 10.0f;
    car.translate(0.0f, 0.0f, 0.0f);
    EXPECT_NEAR(headingDegrees(*car.camera->modelMatrix), 80.0f, 1e-3f);
    EXPECT_EQ(car.cameraLag, 10.0f);

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
