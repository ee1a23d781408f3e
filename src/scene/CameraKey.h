#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

// One accepted line of a camera path file. Fields a line does not set keep
// these defaults, so a key that is only timed still says how to be shown.
struct CameraKey {
    float time = -1.0f; // seconds of race time
    int method = 1;     // how the stretch that starts at this key is shown
    glm::vec3 position{0.0f};
    // A control point of the rotation curve, not necessarily a unit quaternion:
    // the curve blends components and is not re-normalised.
    glm::quat rotation{0.0f, 0.0f, 0.0f, 0.0f};
    glm::vec3 lookAt{0.0f};
    bool hasLookAt = false; // the line gave "lookat"
};
