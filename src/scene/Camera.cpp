#include "scene/Camera.h"

#include "settings/Settings.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

float windowAspect()
{
    // As floats before dividing: an integer division would turn 16:9 into 1.
    return static_cast<float>(windowWidth) / static_cast<float>(windowHeight);
}

glm::mat4 projectionForWindow()
{
    return glm::perspective(glm::radians(Camera::fieldOfView), windowAspect(),
                            Camera::nearDistance, Camera::farDistance);
}

ViewFrustum frustumForWindow()
{
    return ViewFrustum(Camera::fieldOfView, windowAspect(), Camera::nearDistance,
                       Camera::farDistance);
}

} // namespace

Camera::Camera()
    : projectionMatrix(new glm::mat4(projectionForWindow())),
      frustum(new ViewFrustum(frustumForWindow()))
{
}

Camera::~Camera()
{
    delete projectionMatrix;
    delete frustum;
}

void Camera::setupProjection()
{
    *projectionMatrix = projectionForWindow();
    *frustum = frustumForWindow();
}

void Camera::setTransform(const glm::mat4& model, const glm::mat4& inverse)
{
    *modelMatrix = model;
    *inverseModelMatrix = inverse;
    refreshFrustum();
}

void Camera::applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform)
{
    SceneObject::applyTransform(transform, inverseTransform);
    refreshFrustum();
}

void Camera::refreshFrustum()
{
    const glm::mat3 normalMatrix(glm::transpose(*inverseModelMatrix));
    frustum->update(*modelMatrix, normalMatrix);
}
