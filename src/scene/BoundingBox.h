#pragma once

#include <glm/glm.hpp>

#include <array>
#include <cstddef>

// Axis-aligned model-space box of a model or sub-mesh, plus its collision
// footprint: the box's outline on the ground carried into the world by the
// owner's model matrix. The race rules test footprints for overlap.
struct BoundingBox {
    BoundingBox() = default;
    BoundingBox(const glm::vec3& upper, const glm::vec3& lower);

    // Corners c0 to c3 = M·(x, 0, z, 1) for (upper x, upper z), (lower x, upper z),
    // (lower x, lower z), (upper x, lower z). Only the model-space height is
    // dropped; the owner's own translation still lifts the corners.
    void updateFootprint(const glm::mat4& modelMatrix);

    glm::vec3 upper{0.0f};
    glm::vec3 lower{0.0f};
    // Zero until the owner first moves.
    std::array<glm::vec4, 4> footprint{};
};

// The same, in the (box, model matrix) form the owners' transform hooks use.
void updateFootprint(BoundingBox& box, const glm::mat4& modelMatrix);

// Twenty-two floats in a row, the last sixteen being the footprint.
static_assert(sizeof(BoundingBox) == 22 * sizeof(float));
static_assert(offsetof(BoundingBox, footprint) == 6 * sizeof(float));
