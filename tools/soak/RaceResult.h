#pragma once

#include "gl/GLObject.h"

#include <array>

// What one race of a soak run measured.
struct RaceResult {
    int race = 0;              // from 1
    bool startedOver = false;  // the race ran to its end and restarted by itself
    long steps = 0;            // frames, the one that restarted the race included
    double raceSeconds = 0.0;  // race time of the last step before the restart
    int framesDrawn = 0;
    long residentKiB = -1;     // after the race
    long liveGLObjects = 0;    // right after the restart
    std::array<long, glObjectKindCount> liveGLObjectsByKind{};
    long debugOutputErrors = 0; // during the race
    long getErrorErrors = 0;
    double meanFrameMs = 0.0;   // wall time of a drawn frame to its glFinish; 0 when none was drawn
    double medianFrameMs = 0.0;
    // Processor time the whole process (the renderer's threads included)
    // spent on a drawn frame: steadier than wall time on a shared machine.
    double medianFrameCpuMs = 0.0;
    // Primitives the GL drew in a frame, every pass together: the frame's
    // work counted, free of the machine's speed.
    double medianFramePrimitives = 0.0;
    double wallSeconds = 0.0;
};
