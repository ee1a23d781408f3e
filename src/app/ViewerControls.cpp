#include "app/ViewerControls.h"

#include "app/AppMain.h"
#include "app/KeyTest.h"
#include "sound/Music.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int viewerKeys[] = {GLFW_KEY_SPACE, GLFW_KEY_LEFT, GLFW_KEY_RIGHT, GLFW_KEY_HOME,
                              GLFW_KEY_LEFT_BRACKET, GLFW_KEY_RIGHT_BRACKET, GLFW_KEY_C, GLFW_KEY_H};

bool held(const platform::Window& window, int key)
{
    return window.getKey(key) == GLFW_PRESS;
}

} // namespace

// A key fires when it is let go, often a frame after Shift was: whether
// Shift went with it is noted while the key is down.
void ViewerControls::poll(AppMain& app, KeyTest& keys)
{
    const bool shift = held(app.window, GLFW_KEY_LEFT_SHIFT) || held(app.window, GLFW_KEY_RIGHT_SHIFT);
    for (int key : viewerKeys) {
        const bool down = held(app.window, key);
        if (down && shift) {
            shiftedKeys.insert(key);
        }
        if (keys.fired(key, down)) {
            act(app, key, shiftedKeys.erase(key) > 0);
        }
    }
}

void ViewerControls::act(AppMain& app, int key, bool shift)
{
    switch (key) {
    case GLFW_KEY_SPACE:
        paused = !paused;
        // The music and the engines hold with the race, so they go on in step with it.
        if (app.music) {
            app.music->setPaused(paused);
        }
        timelineShownFor = timelineShownSeconds;
        std::printf("Pause: %s at %.3f s\n", paused ? "on" : "off", app.raceTime);
        break;
    case GLFW_KEY_LEFT:
        seekBy(app, -(shift ? longSeek : shortSeek));
        break;
    case GLFW_KEY_RIGHT:
        seekBy(app, shift ? longSeek : shortSeek);
        break;
    case GLFW_KEY_HOME:
        seekBy(app, -app.raceTime);
        break;
    case GLFW_KEY_LEFT_BRACKET:
    case GLFW_KEY_RIGHT_BRACKET:
        speed = std::clamp(key == GLFW_KEY_LEFT_BRACKET ? speed / 2.0 : speed * 2.0, slowest, fastest);
        timelineShownFor = timelineShownSeconds;
        std::printf("Race speed: %gx\n", speed);
        break;
    case GLFW_KEY_C:
        toggleFreeCamera(app);
        break;
    case GLFW_KEY_H:
        helpShown = !helpShown;
        std::printf("Help: %s\n", helpShown ? "on" : "off");
        break;
    default:
        break;
    }
}

// Back past the race's start stops at its start; on past its end goes into
// the next race, as the race itself would.
void ViewerControls::seekBy(AppMain& app, double seconds)
{
    app.seek(std::max(app.raceTime + seconds, 0.0));
    timelineShownFor = timelineShownSeconds;
    std::printf("Seek: %.3f s\n", app.raceTime);
}

// Starts where the view was, so the picture does not jump; back on the path
// the race's own camera takes over again.
void ViewerControls::toggleFreeCamera(AppMain& app)
{
    freeCameraOn = !freeCameraOn;
    if (freeCameraOn) {
        freeCamera.startAt(*app.activeCamera);
        freeCamera.applyTo(view);
        view.storePreviousTransform();
        app.fixedView = &view;
    } else {
        app.fixedView = nullptr;
    }
    std::printf("Free camera: %s\n", freeCameraOn ? "on" : "off");
}

std::vector<std::string> ViewerControls::screenLines(const AppMain& app) const
{
    std::vector<std::string> lines;
    if (helpShown) {
        lines = {
            "Space       pause, play",
            "Left Right  back, on 5 s (Shift: 30 s)",
            "Home        race start",
            "[ ]         race speed half, double",
            "C           free camera: drag the mouse,",
            "            W A S D, Q E, Shift faster",
            "H           this help",
            "F2          status panel",
            "F3 F4 F5    wire frame, filter, mipmaps",
            "F7 F8 F9    sound, culling, transparency",
            "Backspace   restart    Esc  quit",
            "",
        };
    }
    if (timelineShownFor > 0.0 || paused) {
        char line[64];
        std::snprintf(line, sizeof line, "%.2f s   %gx%s", app.raceTime, speed, paused ? "   paused" : "");
        lines.emplace_back(line);
    }
    return lines;
}

void ViewerControls::flyCamera(AppMain& app, double frameSeconds)
{
    timelineShownFor = std::max(timelineShownFor - frameSeconds, 0.0);
    if (!freeCameraOn) {
        return;
    }
    const platform::Window& window = app.window;
    double x = 0.0;
    double y = 0.0;
    window.getCursorPos(&x, &y);
    const bool looking = window.getMouseButton(GLFW_MOUSE_BUTTON_LEFT) == GLFW_PRESS;
    if (looking && dragging) {
        // Dragging to the right turns to the right; dragging up looks up.
        freeCamera.turn(-static_cast<float>(x - lastCursorX) * mouseDegreesPerPixel,
                        -static_cast<float>(y - lastCursorY) * mouseDegreesPerPixel);
    }
    dragging = looking;
    lastCursorX = x;
    lastCursorY = y;

    const glm::vec3 direction(float(held(window, GLFW_KEY_D)) - float(held(window, GLFW_KEY_A)),
                              float(held(window, GLFW_KEY_E)) - float(held(window, GLFW_KEY_Q)),
                              float(held(window, GLFW_KEY_W)) - float(held(window, GLFW_KEY_S)));
    const bool fast = held(window, GLFW_KEY_LEFT_SHIFT) || held(window, GLFW_KEY_RIGHT_SHIFT);
    freeCamera.move(direction, walkingSpeed * (fast ? 4.0f : 1.0f) * static_cast<float>(frameSeconds));
    freeCamera.applyTo(view);
}
