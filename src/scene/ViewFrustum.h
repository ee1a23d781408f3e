#pragma once

#include "scene/BoundingSphere.h"

#include <glm/glm.hpp>

#include <array>
#include <cstddef>

// The culling volume of a camera or a light. The camera-space part is fixed at
// construction; update carries it into the world whenever the owner moves, so
// each visibility test is only one distance and up to six dot products.
// Every plane normal points into the frustum.
class ViewFrustum {
public:
    // Storage order of the six planes.
    enum class Plane { Right, Left, Near, Far, Top, Bottom };

    // Field of view is vertical, in degrees. The world part stays zero until
    // the first update.
    ViewFrustum(float fieldOfViewDegrees, float aspect, float nearDistance, float farDistance);
    virtual ~ViewFrustum() = default;
    ViewFrustum(const ViewFrustum&) = default;
    ViewFrustum& operator=(const ViewFrustum&) = default;

    // normalMatrix is the upper-left 3x3 of transpose(inverse model matrix).
    void update(const glm::mat4& modelMatrix, const glm::mat3& normalMatrix);

    // A sphere touching a plane from outside still counts as visible.
    bool isSphereVisible(const glm::vec3& sphereCentre, float sphereRadius) const;
    bool isSphereVisible(const BoundingSphere& sphere) const;

    const glm::vec3& localEye() const { return eyeLocal; }
    const glm::vec3& localNearCentre() const { return nearCentreLocal; }
    const glm::vec3& localFarCentre() const { return farCentreLocal; }
    const glm::vec3& localCentre() const { return centreLocal; }
    float boundingRadius() const { return radius; }
    const glm::vec3& localNormal(Plane plane) const { return normalsLocal[index(plane)]; }

    const glm::vec3& worldEye() const { return eye; }
    const glm::vec3& worldNearCentre() const { return nearCentre; }
    const glm::vec3& worldFarCentre() const { return farCentre; }
    const glm::vec3& worldCentre() const { return centre; }
    const glm::vec3& worldNormal(Plane plane) const { return normals[index(plane)]; }

private:
    static std::size_t index(Plane plane) { return static_cast<std::size_t>(plane); }
    // The point each plane passes through, in world space.
    const glm::vec3& worldPoint(Plane plane) const;

    glm::vec3 eyeLocal;
    glm::vec3 nearCentreLocal;
    glm::vec3 farCentreLocal;
    glm::vec3 centreLocal;
    // Measured from the eye to a far corner, not from the centre: generous, but
    // it only has to reject what is clearly far away before the plane tests.
    float radius;
    std::array<glm::vec3, 6> normalsLocal;

    glm::vec3 eye{0.0f};
    glm::vec3 nearCentre{0.0f};
    glm::vec3 farCentre{0.0f};
    glm::vec3 centre{0.0f};
    std::array<glm::vec3, 6> normals{};
};
