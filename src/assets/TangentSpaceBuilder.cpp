#include "assets/TangentSpaceBuilder.h"

#include <cmath>

namespace {
// Accumulated sums scale with the model's size over its texture size, so only
// lengths that normalising would turn into infinities count as none.
constexpr float minSumLengthSquared = 1e-20f;
// For vectors that are already unit length: shorter than this after removing
// the normal's share, the tangent was parallel to the normal and its
// direction would be rounding noise.
constexpr float minUnitLengthSquared = 1e-12f;

bool isFinite(const glm::vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool isUsable(const glm::vec3& v, float minLengthSquared)
{
    return isFinite(v) && glm::dot(v, v) > minLengthSquared;
}

// Some unit vector at right angles to unit (or zero) v: the coordinate axis
// least aligned with v, with v's share removed.
glm::vec3 anyPerpendicular(const glm::vec3& v)
{
    glm::vec3 axis = std::abs(v.x) < 0.9f ? glm::vec3(1.0f, 0.0f, 0.0f) : glm::vec3(0.0f, 1.0f, 0.0f);
    return glm::normalize(axis - v * glm::dot(v, axis));
}
} // namespace

TangentSpaceBuilder::TangentSpaceBuilder(std::span<const MeshVertex> vertices, std::span<glm::vec3> tangents,
                                         std::span<glm::vec3> bitangents)
    : vertices(vertices), tangents(tangents), bitangents(bitangents)
{
}

void TangentSpaceBuilder::addTriangle(std::uint32_t i0, std::uint32_t i1, std::uint32_t i2)
{
    const MeshVertex& v0 = vertices[i0];
    const MeshVertex& v1 = vertices[i1];
    const MeshVertex& v2 = vertices[i2];
    glm::vec3 e1 = glm::vec3(v1.position) - glm::vec3(v0.position);
    glm::vec3 e2 = glm::vec3(v2.position) - glm::vec3(v0.position);
    float du1 = v1.texCoord.x - v0.texCoord.x;
    float dv1 = v1.texCoord.y - v0.texCoord.y;
    float du2 = v2.texCoord.x - v0.texCoord.x;
    float dv2 = v2.texCoord.y - v0.texCoord.y;

    // Zero area in texture space (a model without texture coordinates has
    // only such triangles) makes f infinite; one such triangle would turn
    // every vertex it touches into NaN, so it is left out instead.
    float f = 1.0f / (du1 * dv2 - du2 * dv1);
    if (!std::isfinite(f)) {
        return;
    }
    glm::vec3 tangent = f * (dv2 * e1 - dv1 * e2);
    glm::vec3 bitangent = f * (du1 * e2 - du2 * e1);
    if (!isFinite(tangent) || !isFinite(bitangent)) {
        return;
    }

    for (std::uint32_t i : {i0, i1, i2}) {
        tangents[i] += tangent;
        bitangents[i] += bitangent;
    }
}

void TangentSpaceBuilder::finish()
{
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        orthonormalise(vertices[i].normal, tangents[i], bitangents[i]);
    }
}

void TangentSpaceBuilder::orthonormalise(const glm::vec3& normal, glm::vec3& tangent, glm::vec3& bitangent)
{
    // A vertex outside every triangle (points and lines) may carry no usable
    // normal; any tangent is then as good as another.
    glm::vec3 n = isUsable(normal, minSumLengthSquared) ? normal : glm::vec3(0.0f);
    glm::vec3 unitNormal = isUsable(n, minSumLengthSquared) ? glm::normalize(n) : n;

    glm::vec3 t = isUsable(tangent, minSumLengthSquared) ? glm::normalize(tangent) : anyPerpendicular(unitNormal);
    t = t - n * glm::dot(n, t);
    t = isUsable(t, minUnitLengthSquared) ? glm::normalize(t) : anyPerpendicular(unitNormal);

    // Deliberately not made orthogonal: only normalised. Without a usable sum
    // it completes a right-handed frame, which leaves the tangent unflipped.
    glm::vec3 b = isUsable(bitangent, minSumLengthSquared) ? glm::normalize(bitangent) : glm::cross(unitNormal, t);
    if (!isUsable(b, minUnitLengthSquared)) {
        b = anyPerpendicular(t);
    }

    // Mirrored texture coordinates: the tangent, not the bitangent, carries
    // the flip, which is what the parallax shader's frame expects.
    if (glm::dot(glm::cross(n, t), b) < 0.0f) {
        t = -t;
    }
    tangent = t;
    bitangent = b;
}
