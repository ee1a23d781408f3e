#pragma once

#include "scene/RoomLayout.h"

#include <optional>
#include <string_view>

// What the picture may cost. Full is the picture as designed. Fast is for
// software renderers and weak GPUs: the lit scene drawn at half the window's
// size and scaled up without motion blur, quarter-size shadow maps blurred as
// far across the room, smaller environment cube faces and cheaper programs
// (fewer relief steps, a reflection without shadows), with soft shadows, the
// reflection and the relief all still there. What fast changes was chosen by
// measuring each pass on a software renderer (docs/performance.md).
struct RenderQuality {
    enum class Level { Full, Fast };

    Level level = Level::Full;
    int shadowMapSize = roomLayout::shadowMapSize;              // texels a side
    int environmentFaceSize = roomLayout::environmentFaceSize; // texels a side of each face
    // The lit scene's size as a share of the window's.
    float sceneScale = 1.0f;
    // Whether the last pass smears what moves; without it the scene is only
    // scaled up into the window.
    bool motionBlur = true;

    static RenderQuality full() { return {}; }
    static RenderQuality fast()
    {
        return {Level::Fast, roomLayout::shadowMapSize / 4, roomLayout::environmentFaceSize / 2, 0.5f, false};
    }
    static RenderQuality of(Level level) { return level == Level::Fast ? fast() : full(); }
    // "full" or "fast"; nothing for any other name.
    static std::optional<Level> levelNamed(std::string_view name)
    {
        if (name == "full") {
            return Level::Full;
        }
        if (name == "fast") {
            return Level::Fast;
        }
        return std::nullopt;
    }

    bool isFast() const { return level == Level::Fast; }
    const char* name() const { return isFast() ? "fast" : "full"; }
};
