#include "room/RoomFeatures.h"
#include "room/RoomMaterials.h"
#include "room/RoomShell.h"

#include <vector>

namespace room {

namespace {
// Stretches of wall a skirting board runs along: all of it, except the door and its casing.
std::vector<glm::vec2> skirtingRuns(WallSide side)
{
    const Wall& wall = roomWall(side);
    if (side != WallSide::south) {
        return {{0.0f, wall.length}};
    }
    const Opening door = doorOpening();
    return {{0.0f, door.s0 - features::doorCasing}, {door.s1 + features::doorCasing, wall.length}};
}
} // namespace

void addTrim(MeshBuilder& mesh)
{
    mesh.useMaterial(roomMaterials().paint);
    const float floor = layout::floorTop, ceiling = features::ceiling;
    for (WallSide side : {WallSide::south, WallSide::east, WallSide::north, WallSide::west}) {
        const Wall& wall = roomWall(side);
        for (const glm::vec2& run : skirtingRuns(side)) {
            addWallBox(mesh, wall, run.x, run.y, floor, floor + 2.2f, -0.35f, 0.0f);
            addWallBox(mesh, wall, run.x, run.y, floor + 2.2f, floor + 2.5f, -0.22f, 0.0f);
        }
        // A stepped cornice softens the line between wall and ceiling.
        addWallBox(mesh, wall, 0.0f, wall.length, ceiling - 1.4f, ceiling, -0.5f, 0.0f);
        addWallBox(mesh, wall, 0.0f, wall.length, ceiling - 0.7f, ceiling, -1.1f, 0.0f);
    }
    // Rose on the ceiling above the top light; it stays above the light so it casts no shadow.
    const std::vector<glm::vec2> rose{{0.0f, 0.0f}, {1.0f, 0.0f}, {1.8f, 0.3f}, {2.4f, 0.7f}, {2.6f, 1.0f}};
    mesh.addLathe({0.0f, ceiling - 1.0f, 5.0f}, rose, 24);
}

} // namespace room
