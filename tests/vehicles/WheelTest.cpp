#include "vehicles/Car.h"
#include "vehicles/Wheel.h"
#include "scene/RoomLayout.h"

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
const auto& wheelOffsets = roomLayout::cars[0].wheelOffsets;

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

    drive(car, Control::SteerLeft);
    const float steering = car.wheels->steeringAngle;
    ASSERT_GT(steering, 20.0f);
    for (int wheel = 0; wheel < 4; ++wheel) {
        const glm::vec3 expected(*car.modelMatrix * glm::vec4(wheelOffsets[wheel], 1.0f));
        EXPECT_TRUE(near(car.wheels->wheelCentre(wheel), expected, 1e-4f)) << "wheel " << wheel + 1;
        EXPECT_NEAR(axleYaw(car, wheel), wheel < 2 ? steering : 0.0f, 1e-3f) << "wheel " << wheel + 1;
    }

    // A frame without steering puts the front wheels straight again.
    drive(car, Controls());
    for (int wheel = 0; wheel < 4; ++wheel) {
        EXPECT_NEAR(axleYaw(car, wheel), 0.0f, 1e-3f) << "wheel " << wheel + 1;
    }
}

TEST(Wheels, RollingTurnsTheTreadByFiftyDegreesPerUnitTheWayTheCarGoes)
{
    FrameTimeGuard frameTime;
    // Where the top of a rear tyre points, in car space, after one frame at this speed.
    auto topAfterRolling = [](float speed) {
        Car car;
        placeCar(car);
        *car.speed = speed;
        deltaTime = 0.1;
        car.updateMotion();
        // The roll shows at the next placement.
        deltaTime = 0.0;
        car.translate(0.0f, 0.0f, 0.0f);
        EXPECT_TRUE(near(car.wheels->spin * car.wheels->spinInverse, glm::mat4(1.0f), 1e-5f));
        return glm::mat3(*car.inverseModelMatrix) * glm::mat3(car.wheels->wheelPlacements[2].model) *
               glm::vec3(0.0f, 1.0f, 0.0f);
    };
    // After the rolling resistance both cover 0.4 units, 20 degrees of tread:
    // forwards (-Z) the top tips ahead, reversing it tips back.
    const float along = std::sin(glm::radians(20.0f)), up = std::cos(glm::radians(20.0f));
    EXPECT_TRUE(near(topAfterRolling(4.4f), glm::vec3(0.0f, up, -along), 1e-4f)) << "forwards";
    EXPECT_TRUE(near(topAfterRolling(-4.8f), glm::vec3(0.0f, up, along), 1e-4f)) << "reversing";
}

TEST(Wheels, NormalAndLightSpaceMatricesMatchTheWheelsWorldMatrices)
{
    FrameTimeGuard frameTime;
    deltaTime = 0.05;
    Car car;
    placeCar(car);
    car.rotateX(10.0f); // the known-inverse route must also hold off the ground plane
    const std::array<glm::mat4, 3> lights{glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 2.0f, 3.0f)),
                                          glm::scale(glm::mat4(1.0f), glm::vec3(0.5f)),
                                          glm::rotate(glm::mat4(1.0f), 1.0f, glm::vec3(0.0f, 0.0f, 1.0f))};
    car.wheels->setLightMatrices(lights[0], lights[1], lights[2]);

    *car.speed = 15.0f;
    for (int f = 0; f < 20; ++f) {
        drive(car, Controls(static_cast<int>(Control::Accelerate) | static_cast<int>(Control::SteerRight)));
    }
    ASSERT_LT(car.wheels->steeringAngle, -10.0f);
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
