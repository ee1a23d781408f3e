#include "room/Furniture.h"
#include "room/RoomMaterials.h"
#include "room/RoomMeshHelpers.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace room {

namespace {
using namespace furniture;

constexpr float fabricUv = 1.0f / 8.0f; // one weave tile per 8 units
constexpr float x0 = sofaLower.x, x1 = sofaUpper.x, z0 = sofaLower.z, z1 = sofaUpper.z;
constexpr float legHeight = 1.8f;
constexpr float frameTop = floor + 5.5f;
constexpr float armTop = floor + 11.0f;
constexpr float backTop = floor + 17.0f;

// Round bolster lying along x (arms) or z (back), as a capped cylinder.
void addRoll(MeshBuilder& mesh, const glm::vec3& start, float length, bool alongX, float radius)
{
    glm::mat4 turn = alongX ? glm::rotate(glm::mat4(1.0f), glm::radians(-90.0f), {0, 0, 1})
                            : glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), {1, 0, 0});
    mesh.pushTransform(glm::translate(glm::mat4(1.0f), start) * turn);
    mesh.addCylinder(glm::vec3(0.0f), radius, length, 16, true, fabricUv);
    mesh.popTransform();
}

// A plump pillow in its own frame: face in the y-z plane, thickness along
// x, swelling from seams pinched flat at its edges. Both faces are made,
// the front one facing -x.
void addPillow(MeshBuilder& mesh, const glm::vec3& halfSize)
{
    constexpr int steps = 10;
    auto position = [&](float s, float t, float side) {
        float swell = std::pow(std::max((1.0f - s * s) * (1.0f - t * t), 0.0f), 0.55f);
        return glm::vec3(side * halfSize.x * swell, t * halfSize.y, s * halfSize.z);
    };
    for (float side : {-1.0f, 1.0f}) {
        auto vertex = [&](int i, int j) {
            float s = -1.0f + 2.0f * float(i) / steps, t = -1.0f + 2.0f * float(j) / steps;
            constexpr float e = 0.01f;
            glm::vec3 ds = position(std::min(s + e, 1.0f), t, side) - position(std::max(s - e, -1.0f), t, side);
            glm::vec3 dt = position(s, std::min(t + e, 1.0f), side) - position(s, std::max(t - e, -1.0f), side);
            glm::vec3 normal = glm::normalize(glm::cross(ds, dt)) * -side;
            return MeshBuilder::Vertex{position(s, t, side), normal, {0.5f + 0.5f * s, 0.5f + 0.5f * t}};
        };
        for (int i = 0; i < steps; ++i) {
            for (int j = 0; j < steps; ++j) {
                if (side < 0.0f) {
                    mesh.addQuad(vertex(i, j), vertex(i + 1, j), vertex(i + 1, j + 1), vertex(i, j + 1));
                } else {
                    mesh.addQuad(vertex(i, j), vertex(i, j + 1), vertex(i + 1, j + 1), vertex(i + 1, j));
                }
            }
        }
    }
}
} // namespace

MeshBuilder buildSofa()
{
    const RoomMaterials& m = roomMaterials();
    MeshBuilder mesh;

    mesh.useMaterial(m.wood);
    for (float x : {x0 + 1.2f, x1 - 1.2f}) {
        for (float z : {z0 + 1.2f, z1 - 1.2f}) {
            mesh.addCylinder({x, floor, z}, 0.45f, legHeight, 8, true, 0.2f);
        }
    }

    mesh.useMaterial(m.sofa);
    const float front = x0 + 0.3f, innerZ0 = z0 + sofaArmWidth, innerZ1 = z1 - sofaArmWidth;
    addMappedBox(mesh, {front, floor + legHeight, z0}, {x1, frameTop, z1}, fabricUv);
    // Arms with rolled tops.
    for (float z : {z0, innerZ1}) {
        addMappedBox(mesh, {front, floor + legHeight, z}, {x1, armTop, z + sofaArmWidth}, fabricUv);
        addRoll(mesh, {front, armTop, z + 0.5f * sofaArmWidth}, x1 - front, true, 0.5f * sofaArmWidth);
    }
    // Back, rounded along its top edge.
    const float backFront = x1 - sofaBackDepth;
    addMappedBox(mesh, {backFront, frameTop, innerZ0}, {x1, backTop, innerZ1}, fabricUv);
    addRoll(mesh, {backFront + 0.5f * sofaBackDepth, backTop, innerZ0}, innerZ1 - innerZ0, false,
            0.5f * sofaBackDepth);

    // Three seat cushions with small gaps, and three back cushions leaning back a little.
    constexpr int cushions = 3;
    constexpr float gap = 0.15f;
    const float cushionWidth = (innerZ1 - innerZ0 - gap * (cushions - 1)) / cushions;
    for (int i = 0; i < cushions; ++i) {
        float za = innerZ0 + i * (cushionWidth + gap), zb = za + cushionWidth;
        addMappedBox(mesh, {front, frameTop, za}, {backFront, sofaSeatTop, zb}, fabricUv, {0.37f * i, 0.0f});
        glm::vec3 pivot(backFront - 2.6f, sofaSeatTop, 0.0f); // front edge stays on the seat
        mesh.pushTransform(glm::translate(glm::mat4(1.0f), pivot) *
                           glm::rotate(glm::mat4(1.0f), glm::radians(-9.0f), {0, 0, 1}) *
                           glm::translate(glm::mat4(1.0f), -pivot));
        addMappedBox(mesh, {backFront - 2.6f, sofaSeatTop, za}, {backFront, backTop - 1.0f, zb}, fabricUv,
                     {0.0f, 0.29f * i});
        mesh.popTransform();
    }

    // Two throw pillows in the curtain fabric for a touch of warm colour.
    mesh.useMaterial(m.cushion);
    for (float z : {innerZ0 + 3.4f, innerZ1 - 3.4f}) {
        // Leaning back against the cushions, turned a little towards the middle.
        float turn = z < 0.5f * (z0 + z1) ? 10.0f : -10.0f;
        mesh.pushTransform(glm::translate(glm::mat4(1.0f), {backFront - 3.9f, sofaSeatTop + 3.1f, z}) *
                           glm::rotate(glm::mat4(1.0f), glm::radians(turn), {0, 1, 0}) *
                           glm::rotate(glm::mat4(1.0f), glm::radians(-16.0f), {0, 0, 1}));
        addPillow(mesh, {1.0f, 3.0f, 3.0f});
        mesh.popTransform();
    }
    return mesh;
}

} // namespace room
