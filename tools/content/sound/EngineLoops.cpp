#include "sound/EngineLoops.h"

#include "common/Random.h"
#include "sound/Filters.h"
#include "sound/Levels.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace sound {
namespace {

// Loop lengths: car1 1.20 s, car2 1.52 s, car3 1.50 s, car4 1.49 s. The
// program raises the pitch by up to about half again at full speed, so the
// base rates sit low: 60, 52.5, 100 and 37.5 firings a second.
const std::array<EngineDesign, 4> kDesigns{{
    // Player 1: an even four-cylinder, round and mid-pitched.
    {.fileName = "car1.wav", .firingPeriod = 735, .cylinders = 4, .firings = 72,
     .firingShift = {0, 0, 0, 0}, .cylinderLevel = {1.0f, 0.86f, 0.95f, 0.82f},
     .pulseWidth = 48.0f, .jitter = 0.06f, .noiseLevel = 0.18f,
     .formant1Hz = 260.0f, .formant1Q = 4.0f, .formant2Hz = 880.0f, .formant2Q = 3.0f, .formant2Level = 0.55f,
     .directLevel = 0.25f, .lowpassHz = 2600.0f, .crankWobble = 0.10f, .drive = 1.2f, .seed = 11u},
    // Player 2: a big twin firing unevenly (270 degree crank), thumpy.
    {.fileName = "car2.wav", .firingPeriod = 840, .cylinders = 2, .firings = 80,
     .firingShift = {0, -210}, .cylinderLevel = {1.0f, 0.78f},
     .pulseWidth = 70.0f, .jitter = 0.10f, .noiseLevel = 0.22f,
     .formant1Hz = 170.0f, .formant1Q = 3.0f, .formant2Hz = 620.0f, .formant2Q = 5.0f, .formant2Level = 0.40f,
     .directLevel = 0.35f, .lowpassHz = 1800.0f, .crankWobble = 0.05f, .drive = 1.6f, .seed = 23u},
    // Third car: a high-revving six with a raspy, bright exhaust.
    {.fileName = "car3.wav", .firingPeriod = 441, .cylinders = 6, .firings = 150,
     .firingShift = {0, 0, 0, 0, 0, 0}, .cylinderLevel = {1.0f, 0.93f, 0.97f, 0.9f, 0.99f, 0.92f},
     .pulseWidth = 18.0f, .jitter = 0.05f, .noiseLevel = 0.35f,
     .formant1Hz = 720.0f, .formant1Q = 6.0f, .formant2Hz = 2300.0f, .formant2Q = 4.0f, .formant2Level = 0.65f,
     .directLevel = 0.15f, .lowpassHz = 6000.0f, .crankWobble = 0.04f, .drive = 2.6f, .seed = 37u},
    // Fourth car: a cross-plane V8, deep with a lopsided burble.
    {.fileName = "car4.wav", .firingPeriod = 1176, .cylinders = 8, .firings = 56,
     .firingShift = {0, 40, -30, 25, 0, -45, 30, -20},
     .cylinderLevel = {1.0f, 0.68f, 0.92f, 0.6f, 1.0f, 0.64f, 0.86f, 0.72f},
     .pulseWidth = 120.0f, .jitter = 0.12f, .noiseLevel = 0.12f,
     .formant1Hz = 110.0f, .formant1Q = 2.5f, .formant2Hz = 430.0f, .formant2Q = 4.0f, .formant2Level = 0.50f,
     .directLevel = 0.30f, .lowpassHz = 1400.0f, .crankWobble = 0.12f, .drive = 1.4f, .seed = 53u},
}};

// Adds `value` at a position that wraps around the loop.
void addWrapped(std::vector<float>& loop, long position, float value)
{
    const long size = static_cast<long>(loop.size());
    loop[static_cast<std::size_t>(((position % size) + size) % size)] += value;
}

// The combustion pulses: a half-sine pressure bump per firing plus a burst
// of gas noise that dies away before the next one.
std::vector<float> firingPulses(const EngineDesign& design)
{
    const std::size_t loopFrames = static_cast<std::size_t>(design.firings) * design.firingPeriod;
    std::vector<float> pulses(loopFrames, 0.0f);
    Random noise(design.seed);
    const int width = static_cast<int>(design.pulseWidth);
    const int noiseFrames = design.firingPeriod * 3 / 4;
    for (int firing = 0; firing < design.firings; ++firing) {
        const int cylinder = firing % design.cylinders;
        const long start = static_cast<long>(firing) * design.firingPeriod + design.firingShift[cylinder];
        const float level = design.cylinderLevel[cylinder] * (1.0f + design.jitter * noise.bipolar());
        for (int i = 0; i < width; ++i) {
            addWrapped(pulses, start + i, level * static_cast<float>(std::sin(kPi * (i + 0.5) / width)));
        }
        for (int i = 0; i < noiseFrames; ++i) {
            const float decay = std::exp(-static_cast<float>(i) / (0.25f * noiseFrames));
            addWrapped(pulses, start + i, design.noiseLevel * level * decay * noise.bipolar());
        }
    }
    return pulses;
}

} // namespace

const std::array<EngineDesign, 4>& engineDesigns()
{
    return kDesigns;
}

Signal renderEngineLoop(const EngineDesign& design)
{
    const std::vector<float> pulses = firingPulses(design);

    // The exhaust pipe as two resonances, then a tone lowpass and a DC trap;
    // all of it run as a loop so the filters carry over the seam.
    StateVariableFilter formant1;
    StateVariableFilter formant2;
    StateVariableFilter tone;
    StateVariableFilter dcTrap;
    formant1.setCutoff(design.formant1Hz, design.formant1Q);
    formant2.setCutoff(design.formant2Hz, design.formant2Q);
    tone.setCutoff(design.lowpassHz, 0.707);
    dcTrap.setCutoff(25.0, 0.707);
    std::vector<float> shaped = processAsLoop(pulses, [&](float in) {
        const float body = formant1.process(in).band + design.formant2Level * formant2.process(in).band;
        const float voiced = tone.process(body + design.directLevel * in).low;
        return dcTrap.process(voiced).high;
    });

    // Scale before saturating so the drive means the same for every design.
    Signal loop = monoSignal(std::move(shaped));
    normalizePeak(loop, 0.0);
    const double engineCycles = static_cast<double>(design.firings) / design.cylinders;
    const double loopFrames = static_cast<double>(loop.samples.size());
    const float driveNorm = std::tanh(design.drive);
    for (std::size_t i = 0; i < loop.samples.size(); ++i) {
        const double crank = std::sin(2.0 * kPi * engineCycles * static_cast<double>(i) / loopFrames);
        const float wobble = 1.0f + design.crankWobble * static_cast<float>(crank);
        loop.samples[i] = std::tanh(design.drive * loop.samples[i] * wobble) / driveNorm;
    }
    // Moderate: the engines run under the music all the time.
    normalizePeak(loop, -6.0);
    return loop;
}

} // namespace sound
