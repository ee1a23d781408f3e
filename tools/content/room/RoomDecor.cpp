#include "room/RoomMaterials.h"
#include "room/RoomMeshHelpers.h"
#include "room/RoomShell.h"

namespace room {

namespace {
struct Painting {
    WallSide wall;
    float s0, s1, y0, y1; // canvas in wall coordinates
    const Material& canvas;
    bool gilded;
};

void addPainting(MeshBuilder& mesh, const Painting& p)
{
    constexpr float frame = 1.1f, frameDepth = 0.6f, canvasDepth = 0.3f;
    const RoomMaterials& m = roomMaterials();
    const Wall& wall = roomWall(p.wall);
    mesh.useMaterial(p.canvas);
    addRect(mesh, wall.point(p.s0, p.y0, -canvasDepth), wall.along * (p.s1 - p.s0), glm::vec3(0, p.y1 - p.y0, 0),
            {0.0f, 0.0f}, {1.0f, 1.0f});
    mesh.useMaterial(p.gilded ? m.brass : m.wood);
    addWallBox(mesh, wall, p.s0 - frame, p.s0, p.y0 - frame, p.y1 + frame, -frameDepth, 0.0f);
    addWallBox(mesh, wall, p.s1, p.s1 + frame, p.y0 - frame, p.y1 + frame, -frameDepth, 0.0f);
    addWallBox(mesh, wall, p.s0, p.s1, p.y0 - frame, p.y0, -frameDepth, 0.0f);
    addWallBox(mesh, wall, p.s0, p.s1, p.y1, p.y1 + frame, -frameDepth, 0.0f);
}
} // namespace

void addPaintings(MeshBuilder& mesh)
{
    // Evening hills above the sofa (+x wall, s = z + 70); the sea on the -x
    // wall (s = 95 - z) across from the relief armadillos.
    const RoomMaterials& m = roomMaterials();
    addPainting(mesh, {WallSide::east, 98.0f, 117.0f, 23.0f, 37.25f, m.hillsPainting, true});
    addPainting(mesh, {WallSide::west, 26.0f, 44.0f, 20.0f, 33.5f, m.seaPainting, false});
}

} // namespace room
