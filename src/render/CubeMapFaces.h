#pragma once

#include <glm/glm.hpp>

// The six faces of a GL cube map, by layer: 0 to 5 are +X, -X, +Y, -Y, +Z, -Z,
// the order of GL_TEXTURE_CUBE_MAP_POSITIVE_X + layer.
inline constexpr int cubeMapFaceCount = 6;

// The view rotation of a camera at the origin that renders the face of the
// given layer: it looks along the face's axis with the up vector of the GL
// cube-map convention (-Y for the four side faces, +Z looking up, -Z looking
// down). With exactly these, an image rendered through a face is what a
// cube-map lookup in that direction reads, unmirrored; any other up vector
// turns or flips the reflection. The result is a 4x4 matrix with
// (0, 0, 0, 1) as its fourth row and column.
glm::mat4 cubeMapFaceRotation(int layer);
