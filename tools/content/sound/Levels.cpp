#include "sound/Levels.h"

#include <algorithm>
#include <cmath>

namespace sound {
namespace {

double dbToGain(double db)
{
    return std::pow(10.0, db / 20.0);
}

void scale(Signal& signal, double gain)
{
    for (float& sample : signal.samples) {
        sample = static_cast<float>(sample * gain);
    }
}

double loudestWindowRms(const Signal& signal)
{
    const std::size_t channels = static_cast<std::size_t>(signal.channels);
    const std::size_t window = static_cast<std::size_t>(0.05 * kSampleRate) * channels;
    const std::vector<float>& s = signal.samples;
    if (s.empty()) {
        return 0.0;
    }
    const std::size_t span = std::min(window, s.size());
    double sum = 0.0;
    for (std::size_t i = 0; i < span; ++i) {
        sum += static_cast<double>(s[i]) * s[i];
    }
    double loudest = sum;
    for (std::size_t i = span; i < s.size(); ++i) {
        sum += static_cast<double>(s[i]) * s[i] - static_cast<double>(s[i - span]) * s[i - span];
        loudest = std::max(loudest, sum);
    }
    return std::sqrt(std::max(loudest, 0.0) / static_cast<double>(span));
}

// Weight of the raised-cosine ramp at `position` of `length` frames (0 -> 1).
double rampWeight(std::size_t position, std::size_t length)
{
    return 0.5 - 0.5 * std::cos(kPi * static_cast<double>(position) / static_cast<double>(length));
}

} // namespace

float peakLevel(const Signal& signal)
{
    float peak = 0.0f;
    for (float sample : signal.samples) {
        peak = std::max(peak, std::fabs(sample));
    }
    return peak;
}

void normalizePeak(Signal& signal, double peakDb)
{
    const float peak = peakLevel(signal);
    if (peak > 0.0f) {
        scale(signal, dbToGain(peakDb) / peak);
    }
}

void normalizeLoudness(Signal& signal, double rmsDb, double ceilingDb)
{
    const double rms = loudestWindowRms(signal);
    const float peak = peakLevel(signal);
    if (rms <= 0.0 || peak <= 0.0f) {
        return;
    }
    scale(signal, std::min(dbToGain(rmsDb) / rms, dbToGain(ceilingDb) / peak));
}

void fadeIn(Signal& signal, double seconds)
{
    const std::size_t channels = static_cast<std::size_t>(signal.channels);
    const std::size_t length = std::min(static_cast<std::size_t>(seconds * kSampleRate), signal.frames());
    for (std::size_t frame = 0; frame < length; ++frame) {
        const double weight = rampWeight(frame, length);
        for (std::size_t c = 0; c < channels; ++c) {
            float& sample = signal.samples[frame * channels + c];
            sample = static_cast<float>(sample * weight);
        }
    }
}

void fadeOut(Signal& signal, double seconds)
{
    const std::size_t channels = static_cast<std::size_t>(signal.channels);
    const std::size_t frames = signal.frames();
    const std::size_t length = std::min(static_cast<std::size_t>(seconds * kSampleRate), frames);
    // The last frame gets weight zero, so the sound ends exactly on silence.
    for (std::size_t i = 0; i < length; ++i) {
        const double weight = rampWeight(i, length - 1 > 0 ? length - 1 : 1);
        const std::size_t frame = frames - 1 - i;
        for (std::size_t c = 0; c < channels; ++c) {
            float& sample = signal.samples[frame * channels + c];
            sample = static_cast<float>(sample * weight);
        }
    }
}

} // namespace sound
