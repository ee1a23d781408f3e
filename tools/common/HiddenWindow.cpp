#include "HiddenWindow.h"

#include "platform/GLLoader.h"

#include <cstdio>

bool openHiddenWindow(platform::Window& window, const char* toolName)
{
    if (!window.init()) {
        std::fprintf(stderr, "%s: cannot start GLFW (no display? try xvfb-run -a)\n", toolName);
        return false;
    }
    window.openWindowHint(platform::GLFW_OPENGL_VERSION_MAJOR, 3);
    window.openWindowHint(platform::GLFW_OPENGL_VERSION_MINOR, 3);
    window.openWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    // A hidden window is never throttled to a display's refresh.
    window.openWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    if (window.openWindow(64, 64, 0, 0, 0, 0, 24, 8, platform::GLFW_WINDOW) != GLFW_TRUE ||
        !platform::loadGLFunctions()) {
        std::fprintf(stderr, "%s: cannot open an OpenGL 3.3 core window\n", toolName);
        return false;
    }
    return true;
}
