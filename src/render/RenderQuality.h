#pragma once

#include "scene/RoomLayout.h"

// What the picture may cost. Full is the picture as designed. Fast is for
// software renderers and weak GPUs: smaller shadow maps blurred as far across
// the room, smaller environment cube faces and cheaper programs (fewer relief
// steps, fewer motion-blur samples, a reflection without shadows), with soft
// shadows, the reflection and the relief all still there. What fast changes
// was chosen by measuring each pass on a software renderer.
struct RenderQuality {
    enum class Level { Full, Fast };

    Level level = Level::Full;
    int shadowMapSize = roomLayout::shadowMapSize;              // texels a side
    int environmentFaceSize = roomLayout::environmentFaceSize; // texels a side of each face

    static RenderQuality full() { return {}; }
    static RenderQuality fast() { return {Level::Fast, roomLayout::shadowMapSize / 2, roomLayout::environmentFaceSize / 2}; }
    static RenderQuality of(Level level) { return level == Level::Fast ? fast() : full(); }

    bool isFast() const { return level == Level::Fast; }
    const char* name() const { return isFast() ? "fast" : "full"; }
};
