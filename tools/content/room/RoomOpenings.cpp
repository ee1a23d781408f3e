#include "room/RoomFeatures.h"
#include "room/RoomMaterials.h"
#include "room/RoomShell.h"

#include <glm/gtc/constants.hpp>

#include <cmath>

namespace room {

namespace {
// A transform whose +y runs along the wall and +z into the room, so that
// MeshBuilder's upright cylinders can lie along a wall.
glm::mat4 alongWall(const Wall& wall, const glm::vec3& start)
{
    glm::vec3 x = glm::cross(wall.along, wall.inward);
    return glm::mat4(glm::vec4(x, 0.0f), glm::vec4(wall.along, 0.0f), glm::vec4(wall.inward, 0.0f),
                     glm::vec4(start, 1.0f));
}

// One hanging curtain between s0 and s1: a sheet folded by a sine, its
// normals from the slope of the folds so the light rolls over them.
void addCurtainSheet(MeshBuilder& mesh, const Wall& wall, float s0, float s1, float y0, float y1, float phase)
{
    constexpr float standOff = 1.9f, amplitude = 0.55f, foldLength = 2.4f;
    constexpr float k = glm::two_pi<float>() / foldLength;
    const int columns = int(std::ceil((s1 - s0) / foldLength * 6.0f));
    auto vertex = [&](int i, float y) {
        float s = s0 + (s1 - s0) * float(i) / float(columns);
        float offset = standOff + amplitude * std::sin(k * s + phase);
        float slope = amplitude * k * std::cos(k * s + phase);
        // The surface is s*along + y*up + offset(s)*inward; its normal is inward - slope*along.
        glm::vec3 normal = glm::normalize(wall.inward - wall.along * slope);
        return MeshBuilder::Vertex{wall.point(s, y, -offset), normal, {s / 10.0f, (y - y0) / 10.0f}};
    };
    for (int i = 0; i < columns; ++i) {
        mesh.addQuad(vertex(i, y0), vertex(i + 1, y0), vertex(i + 1, y1), vertex(i, y1));
    }
}
} // namespace

void addDoor(MeshBuilder& mesh, bool detailed)
{
    const RoomMaterials& m = roomMaterials();
    const Wall& wall = roomWall(WallSide::south);
    const Opening o = doorOpening();
    mesh.useMaterial(m.paint);
    addReveals(mesh, wall, o, false);
    mesh.useMaterial(m.door);
    addNicheBack(mesh, wall, o, o.depth);
    if (!detailed) {
        return;
    }
    // Casing round the opening, standing a little proud of the plaster.
    constexpr float casing = features::doorCasing, proud = 0.35f;
    mesh.useMaterial(m.paint);
    addWallBox(mesh, wall, o.s0 - casing, o.s0, o.y0, o.y1, -proud, 0.0f);
    addWallBox(mesh, wall, o.s1, o.s1 + casing, o.y0, o.y1, -proud, 0.0f);
    addWallBox(mesh, wall, o.s0 - casing, o.s1 + casing, o.y1, o.y1 + casing, -proud, 0.0f);

    // Knob at handle height on the side away from the hinges.
    mesh.useMaterial(m.brass);
    const float s = o.s1 - 2.2f, y = o.y0 + 19.0f;
    addWallBox(mesh, wall, s - 0.55f, s + 0.55f, y - 2.2f, y + 1.2f, o.depth - 0.15f, o.depth);
    addWallBox(mesh, wall, s - 0.18f, s + 0.18f, y - 0.18f, y + 0.18f, o.depth - 0.7f, o.depth - 0.15f);
    glm::vec3 radii = glm::abs(wall.along) * 0.65f + glm::vec3(0.0f, 0.65f, 0.0f) + glm::abs(wall.inward) * 0.4f;
    mesh.addEllipsoid(wall.point(s, y, o.depth - 1.05f), radii, 14, 8);
}

void addWindow(MeshBuilder& mesh, bool detailed)
{
    const RoomMaterials& m = roomMaterials();
    const Wall& wall = roomWall(WallSide::north);
    const Opening o = windowOpening();
    mesh.useMaterial(m.paint);
    addReveals(mesh, wall, o, true);
    mesh.useMaterial(m.window);
    addNicheBack(mesh, wall, o, o.depth);
    if (!detailed) {
        return;
    }
    // Frame, mullion and transom just in front of the glass.
    constexpr float frame = 1.0f, bar = 0.35f;
    const float front = o.depth - 0.8f, back = o.depth;
    const float middle = 0.5f * (o.s0 + o.s1), transom = o.y0 + 0.62f * (o.y1 - o.y0);
    mesh.useMaterial(m.paint);
    addWallBox(mesh, wall, o.s0, o.s0 + frame, o.y0, o.y1, front, back);
    addWallBox(mesh, wall, o.s1 - frame, o.s1, o.y0, o.y1, front, back);
    addWallBox(mesh, wall, o.s0 + frame, o.s1 - frame, o.y0, o.y0 + frame, front, back);
    addWallBox(mesh, wall, o.s0 + frame, o.s1 - frame, o.y1 - frame, o.y1, front, back);
    addWallBox(mesh, wall, middle - bar, middle + bar, o.y0 + frame, o.y1 - frame, front + 0.1f, back);
    addWallBox(mesh, wall, o.s0 + frame, o.s1 - frame, transom - bar, transom + bar, front + 0.1f, back);
    // Sill reaching into the room, with an apron under it.
    addWallBox(mesh, wall, o.s0 - 1.5f, o.s1 + 1.5f, o.y0 - 0.8f, o.y0, -1.2f, 0.0f);
    addWallBox(mesh, wall, o.s0 - 0.8f, o.s1 + 0.8f, o.y0 - 2.6f, o.y0 - 0.8f, -0.3f, 0.0f);
}

void addCurtains(MeshBuilder& mesh)
{
    const RoomMaterials& m = roomMaterials();
    const Wall& wall = roomWall(WallSide::north);
    const Opening o = windowOpening();
    const float bottom = layout::floorTop + 1.5f, top = o.y1 + 6.0f;
    mesh.useMaterial(m.curtain);
    addCurtainSheet(mesh, wall, o.s0 - 8.0f, o.s0 + 1.5f, bottom, top, 0.0f);
    addCurtainSheet(mesh, wall, o.s1 - 1.5f, o.s1 + 8.0f, bottom, top, 1.3f);

    // Rod across the whole width, on brackets, with round finials.
    mesh.useMaterial(m.brass);
    const float rodY = top + 0.9f, rodDepth = -1.9f, start = o.s0 - 9.5f, end = o.s1 + 9.5f;
    mesh.pushTransform(alongWall(wall, wall.point(start, rodY, rodDepth)));
    mesh.addCylinder(glm::vec3(0.0f), 0.3f, end - start, 12, true);
    mesh.popTransform();
    for (float s : {start + 1.0f, end - 1.0f}) {
        addWallBox(mesh, wall, s - 0.2f, s + 0.2f, rodY - 0.25f, rodY + 0.25f, rodDepth, 0.0f);
    }
    for (float s : {start - 0.5f, end + 0.5f}) {
        mesh.addEllipsoid(wall.point(s, rodY, rodDepth), glm::vec3(0.6f), 10, 6);
    }
}

} // namespace room
