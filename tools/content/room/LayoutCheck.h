#pragma once

#include "common/Layout.h"
#include "common/MeshBuilder.h"

#include <string>

// Checks that keep the room honest about the shared layout: furniture in
// its areas, the race course and the stone wall clear, faces turned the way
// their normals say. Each prints what it found and returns false on a fault.
namespace room {

// Prints the piece's bounds; true when they lie inside area (x, z), clear
// of every course point and of the stone wall's box.
bool checkPiece(const std::string& name, const MeshBuilder& piece, const layout::Area& area);
// True when no vertex of mesh stands within the course points' clearance
// (for trim along the walls, whose overall bounds span the room).
bool checkClearOfCourse(const std::string& name, const MeshBuilder& mesh);
// True when every triangle's winding agrees with its vertex normals, and
// the big surfaces (floor, walls, ceiling, rug, door, window) face the room's middle.
bool checkFacing(const std::string& name, const MeshBuilder& mesh);

} // namespace room
