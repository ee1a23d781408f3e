#pragma once

// Our GL headers come from libepoxy; GLFW must not pull in the system gl.h.
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "settings/WindowModes.h"

namespace platform {

// The classic single-window GLFW interface the program is written against,
// offered on top of GLFW 3. Hint and key names keep their classic spelling.
constexpr int GLFW_OPENGL_VERSION_MAJOR = GLFW_CONTEXT_VERSION_MAJOR;
constexpr int GLFW_OPENGL_VERSION_MINOR = GLFW_CONTEXT_VERSION_MINOR;
constexpr int GLFW_KEY_ESC = GLFW_KEY_ESCAPE;

struct VideoMode {
    int Width = 0;
    int Height = 0;
    int RedBits = 0;
    int GreenBits = 0;
    int BlueBits = 0;
};

class Window {
public:
    Window() = default;
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool init();
    void openWindowHint(int target, int hint);
    void getDesktopMode(VideoMode* mode) const;
    // Returns GL_TRUE when the window and its context are ready; colour bits of 0 keep the system default.
    int openWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                   int depthBits, int stencilBits, int mode);
    void setWindowTitle(const char* title);
    void enable(int token);
    int getKey(int key) const;
    // The viewer's free camera looks round with the mouse: a button's state
    // (GLFW_PRESS or GLFW_RELEASE) and the cursor in window pixels.
    int getMouseButton(int button) const;
    void getCursorPos(double* x, double* y) const;
    double getTime() const;
    void setTime(double time);
    // Presents the frame and, as the classic interface did, processes pending window events.
    void swapBuffers();
    void terminate();

    bool isOpen() const { return window != nullptr; }
    // The window system asked to close the window (its close button).
    bool closeRequested() const;
    int framebufferWidth() const;
    int framebufferHeight() const;

private:
    bool initialised = false;
    GLFWwindow* window = nullptr;
};

} // namespace platform
