#pragma once

#include "scene/Camera.h"
#include "scene/FreeCamera.h"

#include <set>
#include <string>
#include <vector>

class AppMain;
class KeyTest;

// What a viewer can do with the race besides watching it: pause it, seek
// back and on, slow it down or speed it up, and leave the camera path for a
// camera of their own. Each timeline key prints one console line, as the
// developer keys do.
class ViewerControls {
public:
    static constexpr double shortSeek = 5.0;  // seconds, Left and Right
    static constexpr double longSeek = 30.0;  // with Shift
    static constexpr double slowest = 0.25;   // race speed, [ halves it
    static constexpr double fastest = 4.0;    // ] doubles it
    // How long the race time stays on screen after a timeline key.
    static constexpr double timelineShownSeconds = 2.0;
    // The free camera's pace in units a second (with Shift, four times it),
    // and its turn in degrees per pixel the mouse moves.
    static constexpr float walkingSpeed = 12.0f;
    static constexpr float mouseDegreesPerPixel = 0.2f;

    // Tests the viewer's keys (Space, Left, Right, Home, [, ], C, H) and acts
    // on each that fired.
    void poll(AppMain& app, KeyTest& keys);
    // The action of one key; shift as held with it.
    void act(AppMain& app, int key, bool shift);
    // Flies the free camera by the keys and the mouse held down, by the
    // frame's own time (it moves while the race is paused too).
    void flyCamera(AppMain& app, double frameSeconds);
    // What the viewer's keys put on the screen: the help while it is shown,
    // the race time and speed for a moment after a timeline key.
    std::vector<std::string> screenLines(const AppMain& app) const;
    // The race seconds a drawn frame of frameSeconds runs.
    double raceSeconds(double frameSeconds) const { return paused ? 0.0 : frameSeconds * speed; }

    bool paused = false;
    double speed = 1.0;
    bool freeCameraOn = false;
    bool helpShown = false;
    // Wall seconds the race time still shows for.
    double timelineShownFor = 0.0;
    FreeCamera freeCamera;

private:
    void toggleFreeCamera(AppMain& app);
    void seekBy(AppMain& app, double seconds);

    Camera view; // the free camera's eye
    std::set<int> shiftedKeys; // pressed while Shift was held, not yet fired
    bool dragging = false;
    double lastCursorX = 0.0;
    double lastCursorY = 0.0;
};
