#pragma once

#include "settings/Settings.h"
#include "vehicles/Car.h"

#include <glm/glm.hpp>

#include <cmath>

namespace vehicletest {

// Puts the frame time back after a test that sets it.
struct FrameTimeGuard {
    ~FrameTimeGuard() { deltaTime = saved; }
    const double saved = deltaTime;
};

// One step of the race update for a car with these controls held.
inline void drive(Car& car, Controls controls)
{
    car.applyControls(controls);
    car.updateMotion();
}
inline void drive(Car& car, Control control)
{
    drive(car, Controls(static_cast<int>(control)));
}

// Yaw in degrees of an object's forward axis (-Z) in the world, counted
// anticlockwise seen from above, as rotateY counts it.
inline float headingDegrees(const glm::mat4& modelMatrix)
{
    const glm::vec3 forward(modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f));
    return glm::degrees(std::atan2(-forward.x, -forward.z));
}

} // namespace vehicletest
