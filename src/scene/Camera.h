#pragma once

#include "scene/SceneObject.h"
#include "scene/ViewFrustum.h"

#include <glm/glm.hpp>

// An eye in the world: its model matrix places it (looking down local -Z, up
// along local +Y), its inverse model matrix is the view matrix. It owns a fixed
// perspective projection and a frustum that follows every move, so geometry
// can be culled against the current view.
class Camera : public SceneObject {
public:
    // Shared by the projection and the frustum, so culling agrees with what is drawn.
    static constexpr float fieldOfView = 50.0f; // vertical, degrees
    static constexpr float nearDistance = 1.0f;
    static constexpr float farDistance = 180.0f;

    // The aspect comes from the window size at the time of construction. The
    // frustum's world part is zero until the first transformation.
    Camera();
    ~Camera() override;

    // Takes up the current window size. The frustum is rebuilt in place, so
    // pointers to it stay valid, and its world part is zero until the next
    // transformation; callers place the camera afterwards.
    void setupProjection();

    // For callers that compute camera matrices directly (chase camera, camera
    // path). The previous-frame matrices are left alone for motion blur.
    void setTransform(const glm::mat4& model, const glm::mat4& inverse);

    void applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform) override;

    glm::mat4* const projectionMatrix; // owned, deleted in the destructor
    ViewFrustum* const frustum;        // owned, deleted in the destructor; kept in world space

private:
    void refreshFrustum();
};
