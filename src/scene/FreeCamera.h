#pragma once

#include <glm/glm.hpp>

class Camera;

// A camera the viewer flies by hand: a place and a heading, turned about the
// vertical (yaw) and tipped up or down (pitch), never rolled, so the horizon
// stays level however it is turned.
class FreeCamera {
public:
    // Looking straight up or down would leave no heading to turn about.
    static constexpr float steepestPitch = 85.0f;

    // Takes over the place and heading of a view, so the picture does not jump.
    void startAt(const Camera& view);
    // Degrees; positive yaw turns left, positive pitch looks up.
    void turn(float yawDegrees, float pitchDegrees);
    // Along its own heading: x to the right, y straight up in the room, z
    // forwards along the ground.
    void move(const glm::vec3& direction, float distance);
    // The camera's model and view matrices from the place and heading.
    void applyTo(Camera& camera) const;

    glm::vec3 position{0.0f};
    float yaw = 0.0f;   // degrees; 0 looks down -Z
    float pitch = 0.0f; // degrees
};
