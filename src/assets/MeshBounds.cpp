#include "assets/MeshBounds.h"

#include <cmath>

namespace {
// Far outside any model, so the first vertex replaces both corners.
constexpr float startExtent = 10000000.0f;
// Thinner than this counts as flat.
constexpr float thinExtent = 0.01f;
constexpr float widenedExtent = 1.0f;
} // namespace

MeshBounds MeshBounds::of(std::span<const MeshVertex> vertices)
{
    glm::vec3 upper(-startExtent);
    glm::vec3 lower(startExtent);
    for (const MeshVertex& vertex : vertices) {
        glm::vec3 position(vertex.position);
        upper = glm::max(upper, position);
        lower = glm::min(lower, position);
    }

    glm::vec3 centre = (upper + lower) * 0.5f;
    MeshBounds bounds;
    bounds.box = BoundingBox(upper, lower);
    bounds.sphere = BoundingSphere(centre, glm::length(centre - upper));
    return bounds;
}

void MeshBounds::widenThinBox()
{
    if (std::abs(box.lower.x - box.upper.x) < thinExtent) {
        box.lower.x += widenedExtent;
    }
    if (std::abs(box.lower.z - box.upper.z) < thinExtent) {
        box.lower.z += widenedExtent;
    }
}
