#pragma once

#include <glm/glm.hpp>

#include <array>

// Ground footprints of boxes carried into the world (corners c0 to c3 of a
// BoundingBox) and the touch test the race rules use between a stone and a
// car. Both tests count points on an edge or corner as inside, so two
// footprints that only touch along an edge overlap.
using Footprint = std::array<glm::vec4, 4>;

// Whether p projects into the parallelogram spanned at c0 by the edges to c1
// and c3 (c2 is not needed for a rectangle). The fourth components are ignored.
bool pointInFootprint(const glm::vec4& p, const Footprint& footprint);

// True as soon as a corner of b lies in a, or else a corner of a lies in b.
// Only corners are tried: two long thin footprints that cross like a plus
// sign, with no corner inside the other, do not overlap.
bool footprintsOverlap(const Footprint& a, const Footprint& b);
