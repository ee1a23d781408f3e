#pragma once

#include <glm/glm.hpp>

#include <cstddef>

// Bounding sphere of a model or sub-mesh, computed by the model import. Culling
// tests the world centre, so the owner refreshes it whenever it moves.
struct BoundingSphere {
    BoundingSphere() = default;
    // The world centre starts at the model-space centre, which is right for an
    // owner that has not moved yet.
    BoundingSphere(const glm::vec3& centre, float radius);

    // World centre = M·(centre, 1). The radius is deliberately left unscaled:
    // scaled owners cull with their model-space radius.
    void update(const glm::mat4& modelMatrix);

    glm::vec4 modelCentre{0.0f, 0.0f, 0.0f, 1.0f}; // w stays 1 so it transforms as a point
    glm::vec3 worldCentre{0.0f};
    float radius = 0.0f;
};

// Eight floats in a row, as the model import and its readers lay them out.
static_assert(sizeof(BoundingSphere) == 8 * sizeof(float));
static_assert(offsetof(BoundingSphere, worldCentre) == 4 * sizeof(float));
static_assert(offsetof(BoundingSphere, radius) == 7 * sizeof(float));
