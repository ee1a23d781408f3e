#include "room/RoomShell.h"

#include "room/RoomFeatures.h"
#include "room/RoomMaterials.h"
#include "room/RoomMeshHelpers.h"

namespace room {

namespace {
constexpr glm::vec3 lo = layout::roomLower;
constexpr glm::vec3 hi = layout::roomUpper;
constexpr float roomWidth = hi.x - lo.x;
constexpr float roomDepth = hi.z - lo.z;
constexpr glm::vec3 up{0.0f, 1.0f, 0.0f};

// Wall rectangle [s0, s1] x [y0, y1] on the wall plane, plaster mapped from wall coordinates.
void addWallRect(MeshBuilder& mesh, const Wall& wall, float s0, float s1, float y0, float y1)
{
    if (s1 <= s0 || y1 <= y0) {
        return;
    }
    float scale = features::wallUv;
    addRect(mesh, wall.point(s0, y0), wall.along * (s1 - s0), up * (y1 - y0),
            {(wall.uStart + s0) * scale, (y0 - layout::floorTop) * scale},
            {(wall.uStart + s1) * scale, (y1 - layout::floorTop) * scale});
}

void addWall(MeshBuilder& mesh, const Wall& wall, const Opening* opening)
{
    const float bottom = layout::floorTop, top = features::ceiling;
    if (!opening) {
        addWallRect(mesh, wall, 0.0f, wall.length, bottom, top);
        return;
    }
    addWallRect(mesh, wall, 0.0f, opening->s0, bottom, top);
    addWallRect(mesh, wall, opening->s1, wall.length, bottom, top);
    addWallRect(mesh, wall, opening->s0, opening->s1, bottom, opening->y0);
    addWallRect(mesh, wall, opening->s0, opening->s1, opening->y1, top);
}
} // namespace

void Wall::box(float s0, float s1, float y0, float y1, float depth0, float depth1, glm::vec3& lower,
               glm::vec3& upper) const
{
    glm::vec3 a = point(s0, y0, depth0), b = point(s1, y1, depth1);
    lower = glm::min(a, b);
    upper = glm::max(a, b);
}

void addWallBox(MeshBuilder& mesh, const Wall& wall, float s0, float s1, float y0, float y1, float depth0,
                float depth1)
{
    glm::vec3 lower, upper;
    wall.box(s0, s1, y0, y1, depth0, depth1, lower, upper);
    mesh.addBox(lower, upper);
}

const Wall& roomWall(WallSide side)
{
    // Walls in order round the room, so the plaster's u runs on from one to the next.
    static const std::array<Wall, 4> walls{{
        {{lo.x, 0.0f, lo.z}, {1, 0, 0}, {0, 0, 1}, roomWidth, 0.0f},
        {{hi.x, 0.0f, lo.z}, {0, 0, 1}, {-1, 0, 0}, roomDepth, roomWidth},
        {{hi.x, 0.0f, hi.z}, {-1, 0, 0}, {0, 0, -1}, roomWidth, roomWidth + roomDepth},
        {{lo.x, 0.0f, hi.z}, {0, 0, -1}, {1, 0, 0}, roomDepth, 2.0f * roomWidth + roomDepth},
    }};
    return walls[std::size_t(side)];
}

Opening doorOpening()
{
    const Wall& wall = roomWall(WallSide::south);
    return {features::doorLeft - wall.origin.x, features::doorRight - wall.origin.x, layout::floorTop,
            features::doorTop, features::doorRecess};
}

Opening windowOpening()
{
    const Wall& wall = roomWall(WallSide::north);
    return {wall.origin.x - features::windowRight, wall.origin.x - features::windowLeft, features::windowBottom,
            features::windowTop, features::windowRecess};
}

void addShellSurfaces(MeshBuilder& mesh)
{
    const RoomMaterials& m = roomMaterials();
    const float scale = features::floorUv;
    // The floor is one flat rectangle, so its top is exactly floorTop wherever a car drives.
    mesh.useMaterial(m.floor);
    addRect(mesh, {lo.x, lo.y, hi.z}, {roomWidth, 0, 0}, {0, 0, -roomDepth}, glm::vec2(lo.x, -hi.z) * scale,
            glm::vec2(hi.x, -lo.z) * scale);
    // Threshold: the floor runs on into the door niche (the door is in the -z wall).
    const Opening door = doorOpening();
    const float doorWidth = features::doorRight - features::doorLeft;
    addRect(mesh, {features::doorLeft, lo.y, lo.z}, {doorWidth, 0, 0}, {0, 0, -door.depth},
            glm::vec2(features::doorLeft, -lo.z) * scale, glm::vec2(features::doorRight, door.depth - lo.z) * scale);

    mesh.useMaterial(m.wall);
    const Opening window = windowOpening();
    addWall(mesh, roomWall(WallSide::south), &door);
    addWall(mesh, roomWall(WallSide::east), nullptr);
    addWall(mesh, roomWall(WallSide::north), &window);
    addWall(mesh, roomWall(WallSide::west), nullptr);

    mesh.useMaterial(m.ceiling);
    const float c = features::ceilingUv;
    addRect(mesh, {lo.x, features::ceiling, lo.z}, {roomWidth, 0, 0}, {0, 0, roomDepth}, glm::vec2(lo.x, lo.z) * c,
            glm::vec2(hi.x, hi.z) * c);
}

void addRug(MeshBuilder& mesh)
{
    mesh.useMaterial(roomMaterials().rug);
    glm::vec2 size = features::rugUpper - features::rugLower;
    // v runs along the rug's length (z), u across it.
    addRect(mesh, {features::rugLower.x, layout::rugTop, features::rugUpper.y}, {size.x, 0, 0}, {0, 0, -size.y},
            {0.0f, 0.0f}, {1.0f, 1.0f});
}

void addReveals(MeshBuilder& mesh, const Wall& wall, const Opening& o, bool bottom)
{
    glm::vec3 out = -wall.inward * o.depth;
    glm::vec3 across = wall.along * (o.s1 - o.s0);
    glm::vec3 height = up * (o.y1 - o.y0);
    float s = features::wallUv;
    addRect(mesh, wall.point(o.s0, o.y0), out, height, {0, 0}, {o.depth * s, (o.y1 - o.y0) * s});
    addRect(mesh, wall.point(o.s1, o.y0), height, out, {0, 0}, {(o.y1 - o.y0) * s, o.depth * s});
    addRect(mesh, wall.point(o.s0, o.y1), out, across, {0, 0}, {o.depth * s, (o.s1 - o.s0) * s});
    if (bottom) {
        addRect(mesh, wall.point(o.s0, o.y0), across, out, {0, 0}, {(o.s1 - o.s0) * s, o.depth * s});
    }
}

void addNicheBack(MeshBuilder& mesh, const Wall& wall, const Opening& o, float depth)
{
    addRect(mesh, wall.point(o.s0, o.y0, depth), wall.along * (o.s1 - o.s0), up * (o.y1 - o.y0), {0, 0}, {1, 1});
}

} // namespace room
