#include "scene/ViewFrustum.h"

#include <cmath>

namespace {

using Plane = ViewFrustum::Plane;

// Sides first: they reject most of what lies off screen.
constexpr std::array<Plane, 6> testOrder = {Plane::Right, Plane::Left, Plane::Top,
                                            Plane::Bottom, Plane::Near, Plane::Far};

glm::vec3 toWorldPoint(const glm::mat4& modelMatrix, const glm::vec3& point)
{
    return glm::vec3(modelMatrix * glm::vec4(point, 1.0f));
}

} // namespace

ViewFrustum::ViewFrustum(float fieldOfViewDegrees, float aspect, float nearDistance,
                         float farDistance)
    : eyeLocal(0.0f),
      nearCentreLocal(0.0f, 0.0f, -nearDistance),
      farCentreLocal(0.0f, 0.0f, -farDistance),
      centreLocal(0.0f, 0.0f, -nearDistance - (farDistance - nearDistance) / 2.0f)
{
    const float farHalfHeight = farDistance * std::tan(glm::radians(fieldOfViewDegrees) / 2.0f);
    const float farHalfWidth = farHalfHeight * aspect;
    radius = std::sqrt(farHalfWidth * farHalfWidth + farHalfHeight * farHalfHeight +
                       farDistance * farDistance);

    // Each side normal is its edge direction turned a quarter inwards.
    const glm::vec3 right = glm::normalize(glm::vec3(farHalfWidth, 0.0f, -farDistance));
    const glm::vec3 left = glm::normalize(glm::vec3(-farHalfWidth, 0.0f, -farDistance));
    const glm::vec3 top = glm::normalize(glm::vec3(0.0f, farHalfHeight, -farDistance));
    const glm::vec3 bottom = glm::normalize(glm::vec3(0.0f, -farHalfHeight, -farDistance));
    normalsLocal[index(Plane::Right)] = glm::vec3(right.z, 0.0f, -right.x);
    normalsLocal[index(Plane::Left)] = glm::vec3(-left.z, 0.0f, left.x);
    normalsLocal[index(Plane::Near)] = glm::vec3(0.0f, 0.0f, -1.0f);
    normalsLocal[index(Plane::Far)] = glm::vec3(0.0f, 0.0f, 1.0f);
    normalsLocal[index(Plane::Top)] = glm::vec3(0.0f, top.z, -top.y);
    normalsLocal[index(Plane::Bottom)] = glm::vec3(0.0f, -bottom.z, bottom.y);
}

void ViewFrustum::update(const glm::mat4& modelMatrix, const glm::mat3& normalMatrix)
{
    eye = toWorldPoint(modelMatrix, eyeLocal);
    nearCentre = toWorldPoint(modelMatrix, nearCentreLocal);
    farCentre = toWorldPoint(modelMatrix, farCentreLocal);
    centre = toWorldPoint(modelMatrix, centreLocal);
    // Re-normalised because a scaled owner would otherwise stretch the normals.
    for (std::size_t i = 0; i < normals.size(); ++i) {
        normals[i] = glm::normalize(normalMatrix * normalsLocal[i]);
    }
}

const glm::vec3& ViewFrustum::worldPoint(Plane plane) const
{
    switch (plane) {
    case Plane::Near:
        return nearCentre;
    case Plane::Far:
        return farCentre;
    default:
        // The four sides all pass through the eye.
        return eye;
    }
}

bool ViewFrustum::isSphereVisible(const glm::vec3& sphereCentre, float sphereRadius) const
{
    if (glm::length(sphereCentre - centre) > radius + sphereRadius) {
        return false;
    }
    for (Plane plane : testOrder) {
        const float distance = glm::dot(worldNormal(plane), sphereCentre - worldPoint(plane));
        if (distance < -sphereRadius) {
            return false;
        }
    }
    return true;
}

bool ViewFrustum::isSphereVisible(const BoundingSphere& sphere) const
{
    return isSphereVisible(sphere.worldCentre, sphere.radius);
}
