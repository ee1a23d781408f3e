#pragma once

#include <cstdlib>

// One draw in [0, 1] for the particle effects, from the process's std::rand
// (seeded once at start-up; tests seed it to repeat a run).
//
// Only the low 15 bits are kept before dividing by 32767: the effects' spreads
// and lifetimes were tuned for a generator that yields 0 to 32767, while
// glibc's yields up to 2^31 - 1, which would fling particles thousands of
// units away and let them live for hours.
inline double particleRandom()
{
    return static_cast<double>(std::rand() & 0x7FFF) / 32767.0;
}
