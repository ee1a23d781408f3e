#include "app/AppMain.h"

#include "app/Settings.h"
#include "app/WindowSize.h"
#include "platform/GLLoader.h"
#include "sound/Music.h"

#include <epoxy/gl.h>

AppMain::AppMain()
{
    width = windowWidth;
    height = windowHeight;
    numPlayers = 2;
    music = new Music();
}

AppMain::~AppMain()
{
    delete music;
    // Closes the window and gives the desktop its own video mode back.
    window.terminate();
}

bool AppMain::initWindow()
{
    window.init();
    window.openWindowHint(platform::GLFW_OPENGL_VERSION_MAJOR, 3);
    window.openWindowHint(platform::GLFW_OPENGL_VERSION_MINOR, 3);
    window.openWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);

    if (windowMode == platform::GLFW_FULLSCREEN) {
        platform::VideoMode desktop;
        window.getDesktopMode(&desktop);
        WindowSize size = WindowSize::choose(windowMode, desktop, width, height, maxWidth, maxHeight);
        width = windowWidth = size.width;
        height = windowHeight = size.height;
    }

    if (window.openWindow(width, height, 0, 0, 0, 0, 24, 8, windowMode) != GLFW_TRUE) {
        errorMessage = "Failed to initialize OpenGL window.";
        window.terminate();
        return false;
    }
    window.setWindowTitle("Brimbolt");

    if (!platform::loadGLFunctions()) {
        return false;
    }

    glEnable(GL_FRAMEBUFFER_SRGB);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_PROGRAM_POINT_SIZE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Window creation may leave an error queued; later error checks should only see our own.
    glGetError();
    return true;
}

void AppMain::loadShaders() {}

void AppMain::loadContent() {}

void AppMain::restart()
{
    raceTime = 0.0;
}

void AppMain::update() {}

void AppMain::draw()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    window.swapBuffers();
}
