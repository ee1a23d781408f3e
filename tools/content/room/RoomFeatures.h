#pragma once

#include "common/Layout.h"

// Fixed features of the room shell that both the full and the reduced room
// share, in world units. The door and the window sit in walls the course
// never comes near: the door in the -z wall beyond the dining corner, the
// window in the +z wall between the lamp corner and the far stones.
namespace room::features {

constexpr float ceiling = layout::roomUpper.y;

// Door opening in the -z wall (x range, up from the floor), set back into a niche.
constexpr float doorLeft = 22.0f;
constexpr float doorRight = 40.0f;
constexpr float doorTop = layout::floorTop + 40.0f;
constexpr float doorRecess = 1.0f;
constexpr float doorCasing = 1.4f; // width of the painted frame round it

// Window opening in the +z wall, also in a niche; the pane sits near its back.
constexpr float windowLeft = -14.0f;
constexpr float windowRight = 18.0f;
constexpr float windowBottom = 12.0f;
constexpr float windowTop = 40.0f;
constexpr float windowRecess = 1.6f;

// Texture repeats per unit: floor tile 24 units (eight planks 3 wide),
// plaster 24 units, ceiling 16 units.
constexpr float floorUv = 1.0f / 24.0f;
constexpr float wallUv = 1.0f / 24.0f;
constexpr float ceilingUv = 1.0f / 16.0f;

// The rug, inside its layout area with a margin of floor around it.
constexpr glm::vec2 rugLower{-11.0f, -10.0f};
constexpr glm::vec2 rugUpper{13.0f, 28.0f};

static_assert(rugLower.x >= layout::rug.lower.x && rugUpper.x <= layout::rug.upper.x);
static_assert(rugLower.y >= layout::rug.lower.y && rugUpper.y <= layout::rug.upper.y);
static_assert(doorTop < ceiling && windowTop < ceiling);

} // namespace room::features
