#pragma once

#include "gl/GLObject.h"

#include <epoxy/gl.h>

#include <array>
#include <string_view>
#include <vector>

// GPU time of each pass of a frame, from timestamps taken at the pass
// boundaries. The frame pipeline brackets its passes with begin and end when
// a timer is attached; the owner closes each frame with endFrame and picks up
// the frames the GPU has finished with collect. The timestamps of the last
// few frames are kept in a ring and read only once they are available, so
// that measuring never makes the CPU wait for the GPU.
class PassTimer {
public:
    enum Pass { ShadowMaps, ShadowBlur, EnvironmentCube, LitScene, MotionBlur, Overlay, PassCount };

    // A GPU commonly runs two or three frames behind the CPU; one more slot
    // leaves room before a frame's timestamps have to be given up.
    static constexpr int frameSlots = 4;

    struct FrameTimes {
        std::array<double, PassCount> milliseconds{};
        std::array<bool, PassCount> timed{}; // false: the pass was not drawn
    };

    PassTimer();
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    void begin(Pass pass);
    void end();
    // Closes the frame whose passes were bracketed since the previous call.
    void endFrame();
    // The closed frames whose timestamps have arrived, oldest first; never waits.
    std::vector<FrameTimes> collect();
    // Waits for every closed frame still on the GPU: for the end of a measurement.
    std::vector<FrameTimes> finish();
    // Frames given up because the GPU was more than frameSlots frames behind.
    int lostFrames() const { return lost; }
    static std::string_view name(Pass pass);

private:
    struct FrameSlot {
        std::array<GLQuery, 2 * PassCount> stamps; // begin and end of each pass
        std::array<bool, PassCount> timed{};
        bool pending = false; // closed and not yet read
    };

    bool available(const FrameSlot& slot) const;
    FrameTimes read(const FrameSlot& slot) const;
    std::vector<FrameTimes> readClosedFrames(bool wait);

    std::array<FrameSlot, frameSlots> slots;
    int current = 0; // the slot the frame being drawn writes to
    int openPass = PassCount;
    int lost = 0;
};
