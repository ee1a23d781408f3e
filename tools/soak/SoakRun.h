#pragma once

#include "GLErrorWatch.h"
#include "RaceResult.h"
#include "SoakOptions.h"
#include "SoundClock.h"

#include "gl/GLObject.h"

#include <memory>

class AppMain;

// The real application, set up as the program sets it up but in a window of
// the chosen size with a debug context, a fixed random seed and its sound
// captured, driven race after race in frames of a fixed time.
class SoakRun {
public:
    explicit SoakRun(const SoakOptions& options);
    ~SoakRun();
    SoakRun(const SoakRun&) = delete;
    SoakRun& operator=(const SoakRun&) = delete;

    // Opens the window and loads everything; false, with the reason printed,
    // when there is no window. Throws what the application's loading throws.
    bool start();
    // Frames until the race restarts by itself, drawing one frame in
    // framesPerDrawnFrame(); `number` only labels the result.
    RaceResult runRace(int number);
    // Deletes the application, which releases its GL objects and closes the window.
    void shutDown();

    const GLErrorWatch& errors() const { return watch; }
    long liveGLObjectsAtStart() const { return liveAtStart; }

private:
    struct FrameMeasures {
        double wallMs;
        double cpuMs;
        double primitives;
    };
    FrameMeasures drawMeasuredFrame();

    const SoakOptions& options;
    // Declared before the application so that it outlives it: the debug
    // output of the application's teardown still reaches it.
    GLErrorWatch watch;
    std::unique_ptr<AppMain> app;
    std::unique_ptr<SoundClock> sound;
    GLQuery primitivesDrawn;
    long liveAtStart = 0;
};
