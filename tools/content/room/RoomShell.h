#pragma once

#include "common/MeshBuilder.h"

#include <array>

namespace room {

// One wall of the room seen from inside: s runs along it from origin, y is
// world height, and depth is measured out of the room (negative values are
// in front of the wall).
struct Wall {
    glm::vec3 origin; // at y = 0
    glm::vec3 along;  // unit; cross(along, up) == inward, so rectangles built along it face the room
    glm::vec3 inward; // unit
    float length;
    float uStart; // texture u where s = 0, so the plaster runs on round the corners

    glm::vec3 point(float s, float y, float depth = 0.0f) const
    {
        return origin + along * s + glm::vec3(0.0f, y, 0.0f) - inward * depth;
    }
    // Axis-aligned box spanning [s0, s1] x [y0, y1] x [depth0, depth1].
    void box(float s0, float s1, float y0, float y1, float depth0, float depth1, glm::vec3& lower,
             glm::vec3& upper) const;
};

// Box against a wall, spanning [s0, s1] x [y0, y1] x [depth0, depth1] (outward faces).
void addWallBox(MeshBuilder& mesh, const Wall& wall, float s0, float s1, float y0, float y1, float depth0,
                float depth1);

// A hole in a wall, in wall coordinates, closed by a niche of the given depth.
struct Opening {
    float s0, s1, y0, y1, depth;
};

enum class WallSide { south, east, north, west }; // -z, +x, +z, -x
const Wall& roomWall(WallSide side);
Opening doorOpening();
Opening windowOpening();

// Floor (with the door niche's threshold), the four walls around their
// openings and the ceiling: the surfaces both room models share.
void addShellSurfaces(MeshBuilder& mesh);
// The rug lying flat on the floor, its top at layout::rugTop.
void addRug(MeshBuilder& mesh);
// The niche sides of an opening, facing into the hole; the bottom one only when asked.
void addReveals(MeshBuilder& mesh, const Wall& wall, const Opening& opening, bool bottom);
// The surface closing a niche at its back, textured once across.
void addNicheBack(MeshBuilder& mesh, const Wall& wall, const Opening& opening, float depth);

// Door and window: detailed adds casings, frames, sill, knob.
void addDoor(MeshBuilder& mesh, bool detailed);
void addWindow(MeshBuilder& mesh, bool detailed);
void addCurtains(MeshBuilder& mesh);
// Two framed pictures hanging on the long walls.
void addPaintings(MeshBuilder& mesh);
// Skirting boards, cornice and the ceiling rose above the top light.
void addTrim(MeshBuilder& mesh);

} // namespace room
