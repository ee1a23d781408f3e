#pragma once

#include "sound/Signal.h"

#include <array>
#include <cstdint>

namespace sound {

// One engine's character. The loop holds exactly `firings` combustion
// pulses `firingPeriod` frames apart on average, and `firings` is a multiple
// of `cylinders`, so every periodic part of the sound closes on itself.
struct EngineDesign {
    const char* fileName;
    int firingPeriod;       // frames between firings (44100 / firing rate)
    int cylinders;          // firings before the pattern repeats
    int firings;            // in the whole loop
    std::array<int, 8> firingShift;       // per cylinder, frames; uneven firing for twins and V8s
    std::array<float, 8> cylinderLevel;   // per cylinder strength, the "burble"
    float pulseWidth;       // frames of one pressure pulse: wider is duller
    float jitter;           // random strength change per firing
    float noiseLevel;       // hiss of the exhaust gas riding on each firing
    float formant1Hz;       // exhaust resonances
    float formant1Q;
    float formant2Hz;
    float formant2Q;
    float formant2Level;
    float directLevel;      // unfiltered pulses mixed in
    float lowpassHz;
    float crankWobble;      // level change once per full engine cycle
    float drive;            // soft saturation, for rasp
    std::uint32_t seed;
};

const std::array<EngineDesign, 4>& engineDesigns();

Signal renderEngineLoop(const EngineDesign& design);

} // namespace sound
