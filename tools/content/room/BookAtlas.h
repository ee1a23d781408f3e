#pragma once

#include "room/RoomMeshHelpers.h"

// Layout of the books picture: one column per spine colour; each column
// holds, bottom to top, the spine artwork, a plain strip of cover colour
// and a strip of page edges.
namespace room::bookAtlas {

constexpr int columns = 16;
constexpr float spineTop = 0.75f;
constexpr float coverBottom = 0.77f;
constexpr float coverTop = 0.86f;
constexpr float pagesBottom = 0.88f;

// Texture rectangles for an upright book of the given colour column, faces
// in the box order +z, -z, +x (spine), -x, +y (page edges), -y.
std::array<UvRect, 6> bookFaces(int column);

} // namespace room::bookAtlas
