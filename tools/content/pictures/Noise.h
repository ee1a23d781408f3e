#pragma once

#include <cstdint>

// Noise from an integer hash instead of a library generator, so the same
// inputs give the same values with every compiler and standard library.
namespace noise {

// Well-mixed 32 bits from up to three integers and a seed.
std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed, std::int32_t z = 0);
// The hash mapped to [0, 1).
float unit(std::int32_t x, std::int32_t y, std::uint32_t seed, std::int32_t z = 0);

// Smooth value noise in [0, 1) on a lattice that repeats every `period`
// lattice cells in x and y, so textures built from it tile without seams.
float periodicValue(float x, float y, int period, std::uint32_t seed);

// Sum of `octaves` periodic layers, each twice as fine and `gain` as strong;
// the result is scaled back into [0, 1). x and y are in lattice cells of the
// first octave; `period` is that octave's repeat.
float periodicFbm(float x, float y, int period, int octaves, float gain, std::uint32_t seed);

} // namespace noise
