#include "sound/ImpactEffect.h"

#include "common/Random.h"
#include "sound/Filters.h"
#include "sound/Levels.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace sound {

Signal renderHit()
{
    std::vector<float> out(static_cast<std::size_t>(0.45 * kSampleRate), 0.0f);
    Random noise(97u);
    StateVariableFilter knock;
    knock.setCutoff(900.0, 0.9);
    StateVariableFilter body;
    body.setCutoff(190.0, 6.0);
    double phase = 0.0;
    for (std::size_t frame = 0; frame < out.size(); ++frame) {
        const double t = static_cast<double>(frame) / kSampleRate;
        // The pitch drop from 120 Hz to 42 Hz is what reads as weight.
        const double hz = 42.0 + 78.0 * std::exp(-t / 0.04);
        phase += hz / kSampleRate;
        const double thump = std::sin(2.0 * kPi * phase) * std::exp(-t / 0.12);
        const float burst = noise.bipolar() * static_cast<float>(std::exp(-t / 0.012));
        const double crack = knock.process(burst).low;
        const double ring = body.process(burst).band * std::exp(-t / 0.06);
        out[frame] = static_cast<float>(std::tanh(1.5 * (thump + 0.9 * crack + 0.6 * ring)));
    }
    Signal hit = monoSignal(std::move(out));
    fadeIn(hit, 0.001);
    fadeOut(hit, 0.08);
    normalizeLoudness(hit, -14.0, -1.0);
    return hit;
}

} // namespace sound
