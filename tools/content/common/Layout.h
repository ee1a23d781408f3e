#pragma once

#include "scene/RoomLayout.h"

#include <glm/glm.hpp>

// What only the content generator needs to know of the room: its walls, the
// furniture's floor areas, the rug and the stone wall, in world units. The
// room and the pieces are made by different generators; this is the one place
// both read.
namespace layout {

// The floor, the course and the show pieces are where the program puts
// them; the room is built around those.
using roomLayout::floorTop;

// Interior of the room.
constexpr glm::vec3 roomLower{-55.0f, floorTop, -70.0f};
constexpr glm::vec3 roomUpper{45.0f, 52.0f, 95.0f};

// The stone wall stands where its own model puts it: a free-standing brick
// wall along x at z = 70, behind the armadillos, its -z face turned to the
// third light (roomLayout::lightPositions[2]), whose cone points straight at it.
constexpr glm::vec3 stoneWallLower{-46.0f, floorTop, 69.5f};
constexpr glm::vec3 stoneWallUpper{-30.0f, 7.3f, 70.5f};

// Furniture stays inside these floor rectangles (x, z lower and upper), all
// away from the course; the table's and chairs' legs leave room for the cars
// to pass underneath (clear height at least 4 between the legs).
struct Area {
    glm::vec2 lower;
    glm::vec2 upper;
};
constexpr Area sofa{{32.0f, 20.0f}, {44.0f, 55.0f}};          // against the +x wall, facing -x
constexpr Area tableAndChairs{{8.0f, -45.0f}, {36.0f, -20.0f}}; // cars may drive under it
constexpr Area bookshelf{{-54.5f, -30.0f}, {-48.0f, 5.0f}};    // against the -x wall
constexpr Area lamp{{-53.0f, 84.0f}, {-45.0f, 93.0f}};         // floor lamp in a corner
constexpr Area rug{{-12.0f, -12.0f}, {14.0f, 30.0f}};          // flat, top at most 0.01 above the floor
constexpr float rugTop = floorTop + 0.005f;

} // namespace layout
