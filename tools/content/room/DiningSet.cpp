#include "room/Furniture.h"
#include "room/RoomMaterials.h"
#include "room/RoomMeshHelpers.h"

#include <glm/gtc/matrix_transform.hpp>

#include <vector>

namespace room {

namespace {
using namespace furniture;

constexpr float woodUv = 1.0f / 20.0f;

// Turned leg profile (radius, height above the floor), up to the underside of the apron's top.
std::vector<glm::vec2> tableLegProfile(float height)
{
    const float r = tableLegRadius;
    return {{0.0f, 0.0f},           {0.7f * r, 0.0f},         {0.8f * r, 0.4f},           {0.55f * r, 1.2f},
            {0.65f * r, 5.5f},      {0.9f * r, 9.0f},         {r, 10.2f},                 {0.7f * r, 10.9f},
            {0.9f * r, 11.5f},      {0.9f * r, height - 0.1f}, {0.0f, height}};
}

void addTable(MeshBuilder& mesh)
{
    const glm::vec3 lo = tableLower, hi = tableUpper;
    const float topUnder = hi.y - tableTopThickness, apronUnder = topUnder - tableApronHeight;
    addMappedBox(mesh, {lo.x, topUnder, lo.z}, hi, woodUv, {0.13f, 0.0f});

    // Apron set in from the top's edge, over the legs.
    constexpr float apronInset = tableLegInset - 0.3f, apron = 0.5f;
    const float ax0 = lo.x + apronInset, ax1 = hi.x - apronInset, az0 = lo.z + apronInset, az1 = hi.z - apronInset;
    addMappedBox(mesh, {ax0, apronUnder, az0}, {ax1, topUnder, az0 + apron}, woodUv);
    addMappedBox(mesh, {ax0, apronUnder, az1 - apron}, {ax1, topUnder, az1}, woodUv);
    addMappedBox(mesh, {ax0, apronUnder, az0 + apron}, {ax0 + apron, topUnder, az1 - apron}, woodUv);
    addMappedBox(mesh, {ax1 - apron, apronUnder, az0 + apron}, {ax1, topUnder, az1 - apron}, woodUv);

    const std::vector<glm::vec2> leg = tableLegProfile(topUnder - floor);
    for (float x : {lo.x + tableLegInset, hi.x - tableLegInset}) {
        for (float z : {lo.z + tableLegInset, hi.z - tableLegInset}) {
            mesh.addLathe({x, floor, z}, leg, 12);
        }
    }
}

// A chair in its own frame: seat centred on the origin at floor level,
// facing +z, back posts at -z.
void addChair(MeshBuilder& mesh, const RoomMaterials& m)
{
    constexpr float h = chairSeat / 2.0f, leg = chairLeg, seatUnder = floor + chairSeatHeight;
    constexpr float seatTop = seatUnder + 0.7f, backTop = floor + 19.5f;
    mesh.useMaterial(m.wood);
    for (float x : {-h, h - leg}) {
        addMappedBox(mesh, {x, floor, h - leg}, {x + leg, seatUnder, h}, woodUv);
        addMappedBox(mesh, {x, floor, -h}, {x + leg, backTop, -h + leg}, woodUv, {0.21f, 0.0f});
    }
    // Apron under the seat, high enough for a car to pass below it.
    const float apronUnder = seatUnder - chairApron;
    addMappedBox(mesh, {-h + leg, apronUnder, h - leg + 0.15f}, {h - leg, seatUnder, h - 0.15f}, woodUv);
    addMappedBox(mesh, {-h + leg, apronUnder, -h + 0.15f}, {h - leg, seatUnder, -h + leg - 0.15f}, woodUv);
    for (float x : {-h + 0.15f, h - leg + 0.15f}) {
        addMappedBox(mesh, {x, apronUnder, -h + leg}, {x + leg - 0.3f, seatUnder, h - leg}, woodUv);
    }
    addMappedBox(mesh, {-h, seatUnder, -h}, {h, seatTop, h}, woodUv, {0.4f, 0.1f});
    // Back: top rail, lower rail and three slats between the posts.
    const float railZ0 = -h + 0.1f, railZ1 = -h + leg - 0.1f;
    addMappedBox(mesh, {-h + leg, backTop - 2.4f, railZ0}, {h - leg, backTop - 0.2f, railZ1}, woodUv);
    addMappedBox(mesh, {-h + leg, seatTop + 3.2f, railZ0}, {h - leg, seatTop + 4.2f, railZ1}, woodUv);
    for (float x : {-1.6f, 0.0f, 1.6f}) {
        addMappedBox(mesh, {x - 0.35f, seatTop + 4.2f, railZ0 + 0.1f}, {x + 0.35f, backTop - 2.4f, railZ1 - 0.1f},
                     woodUv);
    }
    // Seat pad in the sofa's fabric.
    mesh.useMaterial(m.sofa);
    addMappedBox(mesh, {-h + 0.4f, seatTop, -h + leg + 0.1f}, {h - 0.4f, seatTop + 0.6f, h - 0.3f}, 1.0f / 8.0f);
}
} // namespace

MeshBuilder buildDiningSet()
{
    const RoomMaterials& m = roomMaterials();
    MeshBuilder mesh;
    mesh.useMaterial(m.wood);
    addTable(mesh);
    for (float x : chairXs) {
        mesh.pushTransform(glm::translate(glm::mat4(1.0f), {x, 0.0f, chairNearZ}));
        addChair(mesh, m);
        mesh.popTransform();
        mesh.pushTransform(glm::translate(glm::mat4(1.0f), {x, 0.0f, chairFarZ}) *
                           glm::rotate(glm::mat4(1.0f), glm::radians(180.0f), {0, 1, 0}));
        addChair(mesh, m);
        mesh.popTransform();
    }
    return mesh;
}

} // namespace room
