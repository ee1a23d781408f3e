#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

// How the stretch of a camera path that starts at a key is shown: the number
// a path file writes after "method=". A file may give any other number,
// which parks the path's own camera at the origin.
enum class CameraMethod : int {
    FollowPlayer1 = 0,  // ride player 1's chase camera
    LookAtPoint = 1,    // fly the curve, looking at the key's "lookat"
    LookAlongCurve = 2, // fly the curve, looking a little ahead along it
    FlyByRotation = 3,  // fly the curve, turned by the keys' rotations
    FollowPlayer2 = 4,  // ride player 2's chase camera
};

// One accepted line of a camera path file. Fields a line does not set keep
// these defaults, so a key that is only timed still says how to be shown.
struct CameraKey {
    float time = -1.0f; // seconds of race time
    CameraMethod method = CameraMethod::LookAtPoint; // how the stretch that starts at this key is shown
    glm::vec3 position{0.0f};
    // A control point of the rotation curve, not necessarily a unit quaternion:
    // the curve blends components and is not re-normalised.
    glm::quat rotation{0.0f, 0.0f, 0.0f, 0.0f};
    glm::vec3 lookAt{0.0f};
    bool hasLookAt = false; // the line gave "lookat"
};
