#pragma once

#include "common/MeshBuilder.h"

namespace room {

// The room for the pig's 128 x 128 environment cube: the big surfaces with
// the same textures, and the big furniture as plain boxes.
MeshBuilder buildReducedRoom();

} // namespace room
