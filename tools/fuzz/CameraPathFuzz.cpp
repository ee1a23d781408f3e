// The camera path (brimbolt/carMovement/cameraPath.txt): read by CameraPath,
// then asked for its camera at times across a pass and beyond it, at each
// key and just after it (where the stretches change), and at times no frame
// clock gives but a broken one might.
#include "FuzzScratch.h"

#include "scene/Camera.h"
#include "scene/CameraPath.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

struct Cameras {
    Camera fly;
    Camera player1;
    Camera player2;
};

// Samples of one pass and a little of the next, plus each key's time and a
// moment after it (capped, so a file of thousands of keys stays cheap).
std::vector<float> sampleTimes(const CameraPath& path)
{
    constexpr int passSamples = 64;
    constexpr std::size_t keySamples = 64;
    std::vector<float> times;
    for (int i = -2; i <= passSamples + 8; ++i) {
        times.push_back(path.endTime * static_cast<float>(i) / passSamples);
    }
    for (std::size_t k = 0; k < path.keys.size() && k < keySamples; ++k) {
        times.push_back(path.keys[k].time);
        times.push_back(path.keys[k].time + CameraPath::lookAheadSeconds);
        times.push_back(path.keys[k].time - CameraPath::lookAheadSeconds);
    }
    times.push_back(std::numeric_limits<float>::quiet_NaN());
    times.push_back(std::numeric_limits<float>::infinity());
    times.push_back(-std::numeric_limits<float>::infinity());
    times.push_back(std::numeric_limits<float>::max());
    times.push_back(std::numeric_limits<float>::denorm_min());
    return times;
}

// The camera handed back must be the one viewMode names, and an unusable path
// must only ever show player 1's chase camera.
void checkCamera(const CameraPath& path, const Cameras& cameras, const Camera* camera, int viewMode)
{
    const Camera* expected = viewMode == 0   ? &cameras.fly
                             : viewMode == 1 ? &cameras.player1
                             : viewMode == 2 ? &cameras.player2
                                             : nullptr;
    if (camera != expected || (!path.usable() && viewMode != 1)) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzScratch scratch;
    static Cameras cameras;
    const std::string file = scratch.write("cameraPath.txt", {reinterpret_cast<const char*>(data), size});
    CameraPath path(&cameras.fly, &cameras.player1, &cameras.player2, file);
    // The race ends and restarts at endTime, so it must be a usable length.
    if (!(path.endTime > 0.0f) || !(path.endTime < std::numeric_limits<float>::infinity())) {
        __builtin_trap();
    }
    for (float time : sampleTimes(path)) {
        const CameraPath::Shot shot = path.cameraAt(time);
        checkCamera(path, cameras, shot.camera, shot.followedPlayer);
    }
    return 0;
}
