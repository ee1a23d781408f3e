#include "vehicles/Car.h"
#include "vehicles/Wheel.h"

#include "scene/GlmExpectations.h"
#include "vehicles/VehicleTestSupport.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <array>
#include <cmath>

using glm_expectations::near;
using namespace vehicletest;

namespace {

// Player 1's wheel positions; 1 and 2 are the front wheels.
const std::array<glm::vec3, 4> wheelOffsets{glm::vec3(-0.7f, -0.2f, -1.3f), glm::vec3(0.7f, -0.2f, -1.3f),
                                            glm::vec3(-0.7f, -0.2f, 0.6f), glm::vec3(0.7f, -0.2f, 0.6f)};

// A car placed away from the origin and turned, with its wheels fitted.
void placeCar(Car& car)
{
    for (int key = 1; key <= 4; ++key) {
        car.setWheelPosition(key, wheelOffsets[static_cast<std::size_t>(key - 1)]);
    }
    car.translate(5.0f, 0.0f, -3.0f);
    car.rotateY(30.0f);
}

// Yaw of a wheel's axle relative to the car's, in degrees. Rolling turns the
// wheel about that very axle, so the spin does not enter.
float axleYaw(const Car& car, int wheel)
{
    const glm::vec3 axle = glm::mat3(*car.inverseModelMatrix) * glm::mat3(car.wheels->wheelPlacements[wheel].model) *
                           glm::vec3(1.0f, 0.0f, 0.0f);
    return glm::degrees(std::atan2(-axle.z, axle.x));
}

} // namespace

TEST(Wheels, CentresFollowTheCarAndOnlyTheFrontWheelsSteer)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.1;
    Car car;
    placeCar(car);
    *car.speed = 10.0f;

    car.wheels->steeringAngle = 0.0f;
    car.steerLeft();
    car.updateMotion();
    const float steering = car.wheels->steeringAngle;
    ASSERT_GT(steering, 20.0f);
    for (int wheel = 0; wheel < 4; ++wheel) {
        const glm::vec3 expected(*car.modelMatrix * glm::vec4(wheelOffsets[wheel], 1.0f));
        EXPECT_TRUE(near(car.wheels->wheelCentre(wheel), expected, 1e-4f)) << "wheel " << wheel + 1;
        EXPECT_NEAR(axleYaw(car, wheel), wheel < 2 ? steering : 0.0f, 1e-3f) << "wheel " << wheel + 1;
    }

    // A frame without steering puts the front wheels straight again.
    car.wheels->steeringAngle = 0.0f;
    car.updateMotion();
    for (int wheel = 0; wheel < 4; ++wheel) {
        EXPECT_NEAR(axleYaw(car, wheel), 0.0f, 1e-3f) << "wheel " << wheel + 1;
    }
}

TEST(Wheels, RollingTurnsTheTreadForwardsByFiftyDegreesPerUnit)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.1;
    Car car;
    placeCar(car);
    *car.speed = 4.4f;
    // 4.4 less the resistance is 4 units per second: 0.4 units, 20 degrees this frame.
    car.updateMotion();
    // The roll shows at the next placement.
    deltaTime = 0.0;
    car.translate(0.0f, 0.0f, 0.0f);

    const glm::vec3 top = glm::mat3(*car.inverseModelMatrix) * glm::mat3(car.wheels->wheelPlacements[2].model) *
                          glm::vec3(0.0f, 1.0f, 0.0f);
    // Forwards is -Z: the top of a tyre rolling forwards tips that way.
    EXPECT_TRUE(near(top, glm::vec3(0.0f, std::cos(glm::radians(20.0f)), -std::sin(glm::radians(20.0f))), 1e-4f));
    EXPECT_TRUE(near(car.wheels->spin * car.wheels->spinInverse, glm::mat4(1.0f), 1e-5f));
}

TEST(Wheels, NormalAndLightSpaceMatricesMatchTheWheelsWorldMatrices)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.05;
    Car car;
    placeCar(car);
    car.rotateX(10.0f); // the known-inverse route must also hold off the ground plane
    const glm::mat4 light1 = glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 2.0f, 3.0f));
    const glm::mat4 light2 = glm::scale(glm::mat4(1.0f), glm::vec3(0.5f));
    const glm::mat4 light3 = glm::rotate(glm::mat4(1.0f), 1.0f, glm::vec3(0.0f, 0.0f, 1.0f));
    car.wheels->setLightMatrices(light1, light2, light3);

    *car.speed = 15.0f;
    for (int f = 0; f < 20; ++f) {
        car.wheels->steeringAngle = 0.0f;
        car.accelerate();
        car.steerRight();
        car.updateMotion();
    }
    ASSERT_LT(car.wheels->steeringAngle, -10.0f);
    const std::array<glm::mat4, 3> lights{light1, light2, light3};
    for (int wheel = 0; wheel < 4; ++wheel) {
        const Placement& at = car.wheels->wheelPlacements[wheel];
        const glm::mat3 slowWay = glm::mat3(glm::transpose(glm::inverse(at.model)));
        EXPECT_TRUE(near(at.normalMatrix, slowWay, 1e-4f)) << "wheel " << wheel + 1;
        for (int light = 0; light < 3; ++light) {
            EXPECT_TRUE(near(at.shadowMatrices[light], lights[light] * at.model, 1e-4f))
                << "wheel " << wheel + 1 << ", light " << light + 1;
        }
    }
}
