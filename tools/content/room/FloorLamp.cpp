#include "room/Furniture.h"
#include "room/RoomMaterials.h"

#include <vector>

namespace room {

namespace {
using namespace furniture;

constexpr float poleRadius = 0.3f;
constexpr float baseHeight = 1.1f;
constexpr float shadeBottom = floor + 27.5f;
constexpr float shadeHeight = 7.5f;
constexpr float shadeTopRadius = 2.5f;
} // namespace

MeshBuilder buildFloorLamp()
{
    const RoomMaterials& m = roomMaterials();
    const glm::vec3 foot(lampCentre.x, floor, lampCentre.y);
    MeshBuilder mesh;

    // Weighted round foot, a slim pole and a finial above the shade.
    mesh.useMaterial(m.brass);
    const std::vector<glm::vec2> base{{0.0f, 0.0f}, {3.0f, 0.0f},        {3.0f, 0.35f},
                                      {2.5f, 0.8f}, {0.8f, baseHeight}, {0.0f, baseHeight}};
    mesh.addLathe(foot, base, 24);
    const float poleTop = shadeBottom + shadeHeight + 0.4f;
    mesh.addCylinder(foot + glm::vec3(0.0f, baseHeight, 0.0f), poleRadius, poleTop - floor - baseHeight, 10, true);
    mesh.addEllipsoid(foot + glm::vec3(0.0f, poleTop - floor + 0.3f, 0.0f), glm::vec3(0.45f), 10, 6);
    // Spokes holding the shade: a thin ring at the shade's top.
    mesh.addTorus(foot + glm::vec3(0.0f, shadeBottom + shadeHeight - floor - 0.1f, 0.0f), shadeTopRadius - 0.05f,
                  0.08f, 20, 4);

    // Bulb inside the shade, seen from below.
    mesh.useMaterial(m.bulb);
    mesh.addEllipsoid(foot + glm::vec3(0.0f, shadeBottom - floor + 2.5f, 0.0f), {1.1f, 1.5f, 1.1f}, 14, 8);

    // Shade: a truncated cone, outside and inside, so it reads from above and below.
    mesh.useMaterial(m.shade);
    const float r0 = lampShadeRadius, r1 = shadeTopRadius, y0 = shadeBottom - floor, y1 = y0 + shadeHeight;
    const std::vector<glm::vec2> outside{{r0, y0}, {r0, y0 + 0.3f}, {r1, y1}};
    const std::vector<glm::vec2> inside{{r1 - 0.05f, y1}, {r0 - 0.05f, y0 + 0.3f}, {r0 - 0.05f, y0}};
    mesh.addLathe(foot, outside, 32);
    mesh.addLathe(foot, inside, 32);
    return mesh;
}

} // namespace room
