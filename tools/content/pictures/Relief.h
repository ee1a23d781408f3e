#pragma once

#include "common/Image.h"

// Tangent-space normal map of a repeating height field (0 = deepest,
// 1 = highest): rgb = n * 0.5 + 0.5 with x along +u, y along +v and z out of
// the surface. Mask rows run top-down while v runs up the picture, so the
// row above a texel is the +v neighbour. `depthInTexels` is how deep the full
// height range is, measured in texels: larger gives steeper normals.
Image normalMapFromHeight(const Mask& height, float depthInTexels);
