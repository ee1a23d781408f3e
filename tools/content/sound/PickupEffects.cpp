#include "sound/PickupEffects.h"

#include "common/Random.h"
#include "sound/Filters.h"
#include "sound/Levels.h"
#include "sound/Oscillators.h"
#include "sound/Pitch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace sound {
namespace {

// Effects sit at one loudness so no pick-up jumps out of the mix.
constexpr double kEffectRmsDb = -14.0;
constexpr double kEffectCeilingDb = -1.0;

std::vector<float> silence(double seconds)
{
    return std::vector<float>(static_cast<std::size_t>(seconds * kSampleRate), 0.0f);
}

// A struck bell from a few slightly stretched partials; the higher ones die
// first, which is what makes it sound metallic rather than like an organ.
void addBell(std::vector<float>& out, double startSeconds, double hz, float level)
{
    static constexpr std::array<double, 4> kRatios{1.0, 2.01, 3.03, 4.24};
    static constexpr std::array<double, 4> kLevels{1.0, 0.45, 0.25, 0.15};
    static constexpr std::array<double, 4> kDecays{0.32, 0.16, 0.09, 0.06};
    const std::size_t first = static_cast<std::size_t>(startSeconds * kSampleRate);
    for (std::size_t frame = first; frame < out.size(); ++frame) {
        const double t = static_cast<double>(frame - first) / kSampleRate;
        const double attack = std::min(1.0, t / 0.003);
        double value = 0.0;
        for (std::size_t p = 0; p < kRatios.size(); ++p) {
            value += kLevels[p] * std::exp(-t / kDecays[p]) * std::sin(2.0 * kPi * hz * kRatios[p] * t);
        }
        out[frame] += static_cast<float>(level * attack * value);
    }
}

Signal finishEffect(std::vector<float> samples, double fadeSeconds)
{
    Signal effect = monoSignal(std::move(samples));
    fadeIn(effect, 0.002);
    fadeOut(effect, fadeSeconds);
    normalizeLoudness(effect, kEffectRmsDb, kEffectCeilingDb);
    return effect;
}

} // namespace

Signal renderPickupChime()
{
    std::vector<float> out = silence(0.6);
    // C6 E6 G6 C7 E7: a major arpeggio climbing two octaves.
    static constexpr std::array<int, 5> kNotes{84, 88, 91, 96, 100};
    for (std::size_t i = 0; i < kNotes.size(); ++i) {
        addBell(out, 0.055 * static_cast<double>(i), midiToHz(kNotes[i]), 0.6f + 0.1f * static_cast<float>(i));
    }
    // A soft upward shimmer behind the bells.
    Oscillator shimmer;
    for (std::size_t frame = 0; frame < out.size(); ++frame) {
        const double t = static_cast<double>(frame) / kSampleRate;
        const double hz = 1500.0 * std::pow(2.0, t / 0.35);
        const double level = 0.12 * std::min(1.0, t / 0.05) * std::exp(-t / 0.25);
        out[frame] += static_cast<float>(level * shimmer.sine(hz / kSampleRate));
    }
    return finishEffect(std::move(out), 0.15);
}

Signal renderArcadeRise()
{
    std::vector<float> out = silence(0.8);
    Oscillator square;
    StateVariableFilter soften;
    soften.setCutoff(4500.0, 0.707);
    // Twelve quick steps, each a small upward slide: the classic power-up.
    const double stepSeconds = 0.055;
    for (std::size_t frame = 0; frame < out.size(); ++frame) {
        const double t = static_cast<double>(frame) / kSampleRate;
        const double step = std::min(11.0, std::floor(t / stepSeconds));
        const double within = std::fmod(t, stepSeconds) / stepSeconds;
        const double semitones = 2.0 * step + 3.0 * within * (step < 11.0 ? 1.0 : 0.0);
        const double hz = 330.0 * std::pow(2.0, semitones / 12.0) * (1.0 + 0.01 * std::sin(2.0 * kPi * 9.0 * t));
        const double level = 0.5 * (1.0 - 0.4 * t / 0.8);
        out[frame] = soften.process(static_cast<float>(level * square.pulse(hz / kSampleRate, 0.5))).low;
    }
    return finishEffect(std::move(out), 0.18);
}

Signal renderSparkleRun()
{
    std::vector<float> out = silence(0.75);
    // G major pentatonic from G5 up two octaves, with a faint echo of each.
    static constexpr std::array<int, 10> kNotes{79, 81, 83, 86, 88, 91, 93, 95, 98, 100};
    for (std::size_t i = 0; i < kNotes.size(); ++i) {
        const double start = 0.04 * static_cast<double>(i);
        const double hz = midiToHz(kNotes[i]);
        const std::size_t first = static_cast<std::size_t>(start * kSampleRate);
        for (std::size_t frame = first; frame < out.size(); ++frame) {
            const double t = static_cast<double>(frame - first) / kSampleRate;
            const double envelope = std::min(1.0, t / 0.002) * std::exp(-t / 0.07);
            const double value = std::sin(2.0 * kPi * hz * t) + 0.3 * std::sin(2.0 * kPi * 3.0 * hz * t);
            out[frame] += static_cast<float>(0.4 * envelope * value);
        }
    }
    const std::size_t echoDelay = static_cast<std::size_t>(0.09 * kSampleRate);
    for (std::size_t frame = out.size(); frame-- > echoDelay;) {
        out[frame] += 0.35f * out[frame - echoDelay];
    }
    return finishEffect(std::move(out), 0.2);
}

Signal renderEnergyCharge()
{
    std::vector<float> out = silence(1.0);
    Random noise(71u);
    StateVariableFilter sweep;
    Oscillator tone;
    StateVariableFilter toneFilter;
    for (std::size_t frame = 0; frame < out.size(); ++frame) {
        const double t = static_cast<double>(frame) / kSampleRate;
        // Both rise exponentially, so the ear hears an even climb.
        sweep.setCutoff(300.0 * std::pow(20.0, t / 0.85), 4.0);
        const double whoosh = sweep.process(noise.bipolar()).band * std::min(1.0, t / 0.3);
        const double hz = 110.0 * std::pow(4.0, t / 0.85);
        toneFilter.setCutoff(4.0 * hz, 1.0);
        const double voice = toneFilter.process(static_cast<float>(tone.saw(hz / kSampleRate))).low;
        out[frame] = static_cast<float>(0.8 * whoosh + 0.35 * voice * std::min(1.0, t / 0.1));
    }
    return finishEffect(std::move(out), 0.25);
}

} // namespace sound
