#pragma once

#include "sound/Signal.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace sound {

// A stereo mix bus for a piece that loops: notes may ring past the loop's
// end into a tail, and folding adds that tail back onto the start, so the
// last bar's echoes are heard as the first bar plays again.
class StereoLoop {
public:
    StereoLoop(std::size_t loopFrames, std::size_t tailFrames);

    std::size_t loopFrames() const { return loopFrames_; }

    // Adds a voice that starts at `startSeconds` (any fraction of a frame)
    // and lasts `seconds`. `voice(t)` is called once per frame in time
    // order with the time since the note began and returns a mono sample;
    // `pan` runs from -1 (left) to 1 (right) at constant power.
    template <typename Voice>
    void addVoice(double startSeconds, double seconds, float pan, Voice&& voice);

    // The loop with the tail added onto its start, interleaved stereo.
    Signal folded() const;

private:
    std::size_t loopFrames_;
    std::vector<float> left_;
    std::vector<float> right_;
};

template <typename Voice>
void StereoLoop::addVoice(double startSeconds, double seconds, float pan, Voice&& voice)
{
    const double startFrame = startSeconds * kSampleRate;
    const std::size_t first = static_cast<std::size_t>(std::ceil(startFrame));
    const std::size_t end = std::min(left_.size(), first + static_cast<std::size_t>(seconds * kSampleRate));
    const double angle = (static_cast<double>(std::clamp(pan, -1.0f, 1.0f)) + 1.0) * kPi / 4.0;
    const float leftGain = static_cast<float>(std::cos(angle));
    const float rightGain = static_cast<float>(std::sin(angle));
    for (std::size_t frame = first; frame < end; ++frame) {
        const float value = static_cast<float>(voice((static_cast<double>(frame) - startFrame) / kSampleRate));
        left_[frame] += value * leftGain;
        right_[frame] += value * rightGain;
    }
}

} // namespace sound
