#pragma once

#include "common/MeshBuilder.h"

// The program builds each vertex's tangent frame from the texture
// coordinates and turns a mirrored frame round, which would flip the relief
// maps' sideways slopes. Relief models must therefore map every triangle the
// right way round: +u then +v counter-clockwise seen from outside. Returns
// false, naming the model, when any triangle is mirrored.
bool checkTextureHandedness(const MeshBuilder& mesh, const char* name);
