#include "platform/Window.h"

namespace platform {

Window::~Window()
{
    terminate();
}

bool Window::init()
{
    if (!initialised) {
        initialised = glfwInit() == GLFW_TRUE;
    }
    return initialised;
}

void Window::openWindowHint(int target, int hint)
{
    if (initialised) {
        glfwWindowHint(target, hint);
    }
}

void Window::getDesktopMode(VideoMode* mode) const
{
    *mode = VideoMode{};
    GLFWmonitor* monitor = initialised ? glfwGetPrimaryMonitor() : nullptr;
    const GLFWvidmode* desktop = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (desktop) {
        *mode = VideoMode{desktop->width, desktop->height, desktop->redBits, desktop->greenBits, desktop->blueBits};
    }
}

int Window::openWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                       int depthBits, int stencilBits, int mode)
{
    if (!initialised || window || width <= 0 || height <= 0) {
        return GLFW_FALSE;
    }
    auto hintBits = [](int target, int bits) {
        if (bits > 0) {
            glfwWindowHint(target, bits);
        }
    };
    hintBits(GLFW_RED_BITS, redBits);
    hintBits(GLFW_GREEN_BITS, greenBits);
    hintBits(GLFW_BLUE_BITS, blueBits);
    hintBits(GLFW_ALPHA_BITS, alphaBits);
    glfwWindowHint(GLFW_DEPTH_BITS, depthBits);
    glfwWindowHint(GLFW_STENCIL_BITS, stencilBits);
    // The frame ends in GL_FRAMEBUFFER_SRGB, which needs an sRGB-capable default framebuffer.
    glfwWindowHint(GLFW_SRGB_CAPABLE, GLFW_TRUE);

    GLFWmonitor* monitor = mode == GLFW_FULLSCREEN ? glfwGetPrimaryMonitor() : nullptr;
    window = glfwCreateWindow(width, height, "", monitor, nullptr);
    if (!window) {
        return GLFW_FALSE;
    }
    glfwMakeContextCurrent(window);
    return GLFW_TRUE;
}

void Window::setWindowTitle(const char* title)
{
    if (window) {
        glfwSetWindowTitle(window, title);
    }
}

void Window::enable(int token)
{
    if (window) {
        glfwSetInputMode(window, token, GLFW_TRUE);
    }
}

int Window::getKey(int key) const
{
    return window ? glfwGetKey(window, key) : GLFW_RELEASE;
}

int Window::getMouseButton(int button) const
{
    return window ? glfwGetMouseButton(window, button) : GLFW_RELEASE;
}

void Window::getCursorPos(double* x, double* y) const
{
    *x = 0.0;
    *y = 0.0;
    if (window) {
        glfwGetCursorPos(window, x, y);
    }
}

double Window::getTime() const
{
    return initialised ? glfwGetTime() : 0.0;
}

void Window::setTime(double time)
{
    if (initialised) {
        glfwSetTime(time);
    }
}

void Window::swapBuffers()
{
    if (window) {
        glfwSwapBuffers(window);
        glfwPollEvents();
    }
}

void Window::terminate()
{
    if (window) {
        glfwDestroyWindow(window);
        window = nullptr;
    }
    if (initialised) {
        glfwTerminate();
        initialised = false;
    }
}

bool Window::closeRequested() const
{
    return window && glfwWindowShouldClose(window);
}

int Window::framebufferWidth() const
{
    int width = 0;
    if (window) {
        glfwGetFramebufferSize(window, &width, nullptr);
    }
    return width;
}

int Window::framebufferHeight() const
{
    int height = 0;
    if (window) {
        glfwGetFramebufferSize(window, nullptr, &height);
    }
    return height;
}

} // namespace platform
