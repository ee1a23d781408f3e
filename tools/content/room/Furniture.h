#pragma once

#include "common/Layout.h"
#include "common/MeshBuilder.h"

// Where the furniture stands, in world units, each piece inside its
// layout area. The reduced room reuses the outlines.
namespace room::furniture {

constexpr float floor = layout::floorTop;

// Sofa against the +x wall, facing -x.
constexpr glm::vec3 sofaLower{33.0f, floor, 21.5f};
constexpr glm::vec3 sofaUpper{44.0f, floor + 18.8f, 53.5f};
constexpr float sofaSeatTop = floor + 8.3f;
constexpr float sofaArmWidth = 3.2f;
constexpr float sofaBackDepth = 3.5f;

// Dining table; the cars may drive under it, so its apron stays high and
// its legs stand far apart.
constexpr glm::vec3 tableLower{10.0f, floor, -38.5f};
constexpr glm::vec3 tableUpper{34.0f, floor + 15.6f, -26.5f};
constexpr float tableTopThickness = 0.9f;
constexpr float tableApronHeight = 2.0f;
constexpr float tableLegRadius = 0.6f;
constexpr float tableLegInset = 0.9f; // edge of the top to the leg's axis
constexpr float tableClearHeight = tableUpper.y - tableTopThickness - tableApronHeight - floor;
constexpr float tableLegGap = tableUpper.z - tableLower.z - 2.0f * (tableLegInset + tableLegRadius);

// Chairs: two on each long side, between the table's legs.
constexpr float chairSeat = 8.0f; // square seat, legs at its corners
constexpr float chairLeg = 0.7f;
constexpr float chairSeatHeight = 7.6f; // underside of the seat board
constexpr float chairApron = 1.0f;
constexpr float chairClearHeight = chairSeatHeight - chairApron;
constexpr float chairLegGap = chairSeat - 2.0f * chairLeg;
constexpr float chairXs[2] = {16.5f, 27.5f};
constexpr float chairNearZ = -40.6f; // seat centres: facing +z, then facing -z
constexpr float chairFarZ = -24.4f;

// Bookshelf against the -x wall, clear of the skirting board.
constexpr glm::vec3 shelfLower{-54.5f, floor, -29.0f};
constexpr glm::vec3 shelfUpper{-48.5f, floor + 40.0f, 4.0f};

// Floor lamp in the corner by the window wall.
constexpr glm::vec2 lampCentre{-49.0f, 88.5f};
constexpr float lampShadeRadius = 3.8f;

static_assert(tableClearHeight >= 4.0f && chairClearHeight >= 4.0f, "cars must fit under table and chairs");
static_assert(tableLegGap >= 6.0f && chairLegGap >= 6.0f, "cars must fit between the legs");

} // namespace room::furniture

namespace room {

MeshBuilder buildSofa();
MeshBuilder buildDiningSet(); // table and four chairs
MeshBuilder buildBookshelf(); // with its books
MeshBuilder buildFloorLamp();

} // namespace room
