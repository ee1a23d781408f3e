#include "sound/music/StereoLoop.h"

namespace sound {

StereoLoop::StereoLoop(std::size_t loopFrames, std::size_t tailFrames)
    : loopFrames_(loopFrames), left_(loopFrames + tailFrames, 0.0f), right_(loopFrames + tailFrames, 0.0f)
{
}

Signal StereoLoop::folded() const
{
    Signal out{2, std::vector<float>(loopFrames_ * 2, 0.0f)};
    for (std::size_t frame = 0; frame < left_.size(); ++frame) {
        const std::size_t target = frame % loopFrames_;
        out.samples[target * 2] += left_[frame];
        out.samples[target * 2 + 1] += right_[frame];
    }
    return out;
}

} // namespace sound
