#pragma once

#include "render/GLObject.h"

#include <epoxy/gl.h>

#include <array>
#include <string_view>

// GPU time of each pass of a frame, measured with timer queries. The frame
// pipeline brackets its passes with begin and end when a timer is attached;
// benchmarks read the results once the frame is finished.
class PassTimer {
public:
    enum Pass { ShadowMaps, ShadowBlur, EnvironmentCube, LitScene, MotionBlur, Overlay, PassCount };

    PassTimer();
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    void begin(Pass pass);
    void end();
    // Milliseconds of the pass in the last frame; waits for the GPU.
    double milliseconds(Pass pass) const;
    static std::string_view name(Pass pass);

private:
    std::array<GLQuery, PassCount> queries;
    std::array<bool, PassCount> used{};
};
