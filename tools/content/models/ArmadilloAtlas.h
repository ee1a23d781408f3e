#pragma once

#include <glm/glm.hpp>

// The armadillo's texture layout, shared by its mesh and by the relief maps
// baked for it. Every part has its own rectangle of the texture and its own
// surface coordinates s (round the part, 0..1, wrapping) and t (along it,
// 0..1); the mesh maps them into the rectangle, the relief is a function of
// them, so the two always agree.
namespace armadillo {

enum class Part { Body, Head, Tail, LeftEar, RightEar, FrontLeftLeg, FrontRightLeg, BackLeftLeg, BackRightLeg };
constexpr int partCount = 9;

struct Region {
    glm::vec2 lower; // texture coordinates of the rectangle
    glm::vec2 upper;
    glm::vec2 extent; // about how long s and t run over the surface, in model units
};

const Region& regionOf(Part part);

// Where (s, t) of a part lies in the texture. A thin border is left round
// each rectangle so that filtering and the parallax offset stay inside.
glm::vec2 atlasUv(Part part, float s, float t);

// The fine surface as a height above the mesh, 0 (deepest) to 1 (highest):
// plates on the shell, shingled bands across its middle, small scales on the
// head, tail and legs, soft skin elsewhere. Periodic in s.
float reliefHeight(Part part, float s, float t);

// The shell's movable bands lie across the body between these t, in the
// mesh as low steps and in the relief as shingles.
constexpr float bandsStart = 0.40f, bandsEnd = 0.66f;
constexpr int bandCount = 8;

// How deep the relief is in model units at its full range; the normal map is
// made for this depth.
constexpr float reliefDepth = 0.012f;

} // namespace armadillo
