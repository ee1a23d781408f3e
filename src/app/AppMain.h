#pragma once

#include "platform/Window.h"

#include <string>

class Music;

// The one application object: owns the window, the sound bank and, as they
// arrive, all content of the showcase. The program entry drives it.
class AppMain {
public:
    // Creates the members; no OpenGL call is made before initWindow.
    AppMain();
    virtual ~AppMain();
    AppMain(const AppMain&) = delete;
    AppMain& operator=(const AppMain&) = delete;

    bool initWindow();
    void loadShaders();
    void loadContent();
    void restart();
    void update();
    void draw();

    int width = 0;
    int height = 0;
    std::string errorMessage;
    Music* music = nullptr; // owned, deleted in the destructor
    platform::Window window;
    double raceTime = 0.0;
};
