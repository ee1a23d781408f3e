#pragma once

#include <glm/glm.hpp>

#include <cstdint>

// Values fixed by position, from integer hashes instead of a library
// generator, so the same inputs give the same values with every compiler and
// standard library. There are three hashes because the pictures, the room's
// textures and the armadillo's relief were each tuned with their own; another
// hash would change every file made from them.
namespace noise {

// The top 24 bits as a float in [0, 1), exactly, so it never rounds up to 1.
float toUnit(std::uint32_t bits);
// A finaliser that carries every input bit into every output bit.
std::uint32_t mix(std::uint32_t h);

// The pictures' hash: up to three integers folded in one after another.
std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed, std::int32_t z = 0);
float unit(std::int32_t x, std::int32_t y, std::uint32_t seed, std::int32_t z = 0);
// The room textures' hash: y and the seed mixed first, then x.
float nestedUnit(std::int32_t x, std::int32_t y, std::uint32_t seed);
// The armadillo relief's hash: the inputs spread by odd factors, then mixed once.
std::uint32_t spreadHash(std::uint32_t x, std::uint32_t y, std::uint32_t seed);

// Value noise comes in the same two families as the hashes it is built on:
// the lattice value at each whole point, and how far apart the seeds of
// successive octaves are.
struct Family {
    float (*lattice)(std::int32_t x, std::int32_t y, std::uint32_t seed);
    std::uint32_t octaveSeedStep;
};
extern const Family pictures;
extern const Family room;

// Smooth value noise in [0, 1) on a lattice that repeats every period.x by
// period.y cells, so textures built from it tile without seams.
float periodicValue(const Family& family, glm::vec2 p, glm::ivec2 period, std::uint32_t seed);

// Sum of `octaves` periodic layers, each twice as fine and `gain` times as
// strong as the last and still periodic over the same picture, scaled back
// into [0, 1). p is in lattice cells of the first octave, which repeats every
// `period` cells.
float periodicFbm(const Family& family, glm::vec2 p, glm::ivec2 period, int octaves, float gain, std::uint32_t seed);

} // namespace noise
