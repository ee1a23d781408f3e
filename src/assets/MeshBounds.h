#pragma once

#include "assets/MeshVertex.h"
#include "scene/BoundingBox.h"
#include "scene/BoundingSphere.h"

#include <span>

// The axis-aligned box and the sphere around a run of vertices, as the model
// import stores them for whole models and for each sub-mesh.
struct MeshBounds {
    // An empty run keeps the starting corners (upper at -1e7, lower at +1e7),
    // which no real model reaches.
    static MeshBounds of(std::span<const MeshVertex> vertices);

    // A sub-mesh that is flat in x or z would have a footprint of no width
    // there and could never be collided with, so that axis is widened to 1.0
    // by moving its lower side. Height is left alone: footprints ignore it.
    // Applied to sub-mesh boxes only, after their sphere has been taken.
    void widenThinBox();

    BoundingBox box;
    BoundingSphere sphere;
};
