#include "common/ShapePrimitives.h"
#include "models/ImplicitSurface.h"
#include "models/Models.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

// The reflective pig: one smooth blended body, so the mirrored room flows
// over it without seams. It faces -z, is about 3.9 long and stands with its
// trotters on y = 0.
namespace {
constexpr float cellSize = 0.054f; // keeps it under 20k triangles
const glm::vec3 tailRoot(0.0f, 1.45f, 1.36f);

// A little corkscrew out of the rump; a tube rather than part of the field,
// which could not resolve something this thin at the body's grid size.
std::vector<glm::vec3> tailPath()
{
    constexpr int pieces = 40;
    std::vector<glm::vec3> path;
    for (int k = 0; k <= pieces; ++k) {
        float t = float(k) / pieces;
        float angle = t * glm::two_pi<float>() * 1.6f;
        float radius = 0.11f * std::min(1.0f, t * 3.0f);
        path.push_back(tailRoot + glm::vec3(radius * std::sin(angle), 0.08f * t + radius * (1.0f - std::cos(angle)),
                                            0.34f * t));
    }
    return path;
}

float ear(const glm::vec3& p, float side)
{
    // Into the ear's own frame: tipped outward and forward, then flattened.
    glm::vec3 base(side * 0.36f, 1.92f, -1.32f);
    glm::mat4 frame = glm::rotate(glm::rotate(glm::mat4(1.0f), glm::radians(side * -28.0f), {0, 0, 1}),
                                  glm::radians(-35.0f), {1, 0, 0});
    glm::vec3 local = glm::vec3(glm::inverse(frame) * glm::vec4(p - base, 1.0f));
    // Narrower towards the tip, like a leaf.
    float taper = glm::clamp(1.0f - local.y / 0.42f, 0.25f, 1.2f);
    return implicit::ellipsoid(local / glm::vec3(taper, 1.0f, 1.0f), glm::vec3(0, 0.12f, 0), {0.21f, 0.3f, 0.07f}) * 0.8f;
}

float pigField(const glm::vec3& p)
{
    float body = implicit::ellipsoid(p, {0.0f, 1.25f, 0.1f}, {0.86f, 0.78f, 1.35f});
    float head = implicit::ellipsoid(p, {0.0f, 1.46f, -1.32f}, {0.6f, 0.56f, 0.55f});
    float d = implicit::smoothUnion(body, head, 0.4f);
    // Snout: a short rounded cylinder pointing forward.
    glm::vec2 q(glm::length(glm::vec2(p.x, p.y - 1.32f)) - 0.27f, std::abs(p.z + 1.93f) - 0.17f);
    float snout = std::min(std::max(q.x, q.y), 0.0f) + glm::length(glm::max(q, 0.0f)) - 0.05f;
    d = implicit::smoothUnion(d, snout, 0.18f);
    for (float side : {-1.0f, 1.0f}) {
        d = implicit::smoothSubtract(d, implicit::sphere(p, {side * 0.1f, 1.32f, -2.16f}, 0.055f), 0.03f);
        d = implicit::smoothUnion(d, ear(p, side), 0.1f);
    }
    // Legs taper down to the trotters; the lowest point is the foot sphere's bottom.
    for (float x : {-0.44f, 0.44f}) {
        for (float z : {-0.72f, 0.88f}) {
            float leg = implicit::roundCone(p, {x, 0.16f, z}, {x * 0.95f, 0.85f, z}, 0.16f, 0.25f);
            d = implicit::smoothUnion(d, leg, 0.22f);
        }
    }
    return d;
}
} // namespace

MeshBuilder buildPig()
{
    Shape skin;
    skin.useMaterial(makeMaterial("PigPink", {0.96f, 0.62f, 0.66f}, 0.6f, 90.0f));
    implicit::addSurface(skin, pigField, {-1.05f, -0.05f, -2.3f}, {1.05f, 2.6f, 2.05f}, cellSize, 0.0f);
    primitives::addTube(skin, tailPath(), 0.05f, 8, false, true);
    // Eyes sit on the face where a ray from the front first meets it.
    Shape eyes;
    eyes.useMaterial(makeMaterial("PigEyes", {0.05f, 0.04f, 0.04f}, 1.0f, 200.0f));
    for (float side : {-1.0f, 1.0f}) {
        glm::vec3 at = implicit::rayHit(pigField, {side * 0.27f, 1.64f, -3.0f}, {0, 0, 1}, 2.0f);
        primitives::addBlob(eyes, at + glm::vec3(0, 0, 0.02f), glm::vec3(0.065f), 12, 8);
    }
    MeshBuilder mesh;
    skin.emit(mesh, 80.0f);
    eyes.emit(mesh, 80.0f);
    return mesh;
}
