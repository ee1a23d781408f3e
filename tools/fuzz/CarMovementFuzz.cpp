// A car's movement script (brimbolt/carMovement/player1.txt): read by
// CarMovement, then asked for its flags once a frame through a whole race at
// 60 frames a second, as the race update does, and at the times no frame
// clock gives but a broken one might.
#include "FuzzScratch.h"

#include "vehicles/CarMovement.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr int framesPerSecond = 60;
// A little past the longest race the camera path allows, so every script
// runs out of events.
constexpr int raceSeconds = 160;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzScratch scratch;
    const std::string file = scratch.write("player.txt", {reinterpret_cast<const char*>(data), size});
    CarMovement movement(file);
    // Even an empty script holds one event, so the race never asks an empty one.
    if (movement.eventCount() < 1) {
        __builtin_trap();
    }

    for (int frame = 0; frame <= raceSeconds * framesPerSecond; ++frame) {
        movement.flagsAt(static_cast<float>(frame) / framesPerSecond);
    }
    movement.flagsAt(std::numeric_limits<float>::quiet_NaN());
    movement.flagsAt(-std::numeric_limits<float>::infinity());
    movement.flagsAt(std::numeric_limits<float>::infinity());
    movement.flagsAt(std::numeric_limits<float>::max());
    return 0;
}
