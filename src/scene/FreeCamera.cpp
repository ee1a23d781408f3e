#include "scene/FreeCamera.h"

#include "scene/Camera.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace {

const glm::vec3 up(0.0f, 1.0f, 0.0f);

} // namespace

void FreeCamera::startAt(const Camera& view)
{
    position = glm::vec3((*view.modelMatrix)[3]);
    const glm::vec3 forward = -glm::vec3((*view.modelMatrix)[2]);
    yaw = glm::degrees(std::atan2(-forward.x, -forward.z));
    pitch = std::clamp(glm::degrees(std::asin(std::clamp(forward.y / glm::length(forward), -1.0f, 1.0f))),
                       -steepestPitch, steepestPitch);
}

void FreeCamera::turn(float yawDegrees, float pitchDegrees)
{
    yaw = std::fmod(yaw + yawDegrees, 360.0f);
    pitch = std::clamp(pitch + pitchDegrees, -steepestPitch, steepestPitch);
}

void FreeCamera::move(const glm::vec3& direction, float distance)
{
    const float heading = glm::radians(yaw);
    const glm::vec3 forward(-std::sin(heading), 0.0f, -std::cos(heading));
    const glm::vec3 right(std::cos(heading), 0.0f, -std::sin(heading));
    const glm::vec3 along = direction.x * right + direction.y * up + direction.z * forward;
    if (glm::length(along) > 0.0f) {
        position += glm::normalize(along) * distance;
    }
}

void FreeCamera::applyTo(Camera& camera) const
{
    const glm::mat4 model = glm::rotate(glm::rotate(glm::translate(glm::mat4(1.0f), position), glm::radians(yaw), up),
                                        glm::radians(pitch), glm::vec3(1.0f, 0.0f, 0.0f));
    camera.setTransform(model, glm::inverse(model));
}
