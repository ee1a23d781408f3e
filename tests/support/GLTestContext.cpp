#include "support/GLTestContext.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {
// Opening the X display now and then fails under a busy virtual server, so
// GLFW is started once per test process, with a few tries, and kept.
bool glfwReady()
{
    static const bool ready = [] {
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (glfwInit()) {
                std::atexit(glfwTerminate);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        return false;
    }();
    return ready;
}
} // namespace

GLTestContext::GLTestContext(int width, int height)
{
    if (!glfwReady()) {
        return;
    }
    for (int attempt = 0; attempt < 3 && !window; ++attempt) {
        glfwDefaultWindowHints();
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
        glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        glfwWindowHint(GLFW_SRGB_CAPABLE, GLFW_TRUE);
        glfwWindowHint(GLFW_DEPTH_BITS, 24);
        glfwWindowHint(GLFW_STENCIL_BITS, 8);
        window = glfwCreateWindow(width, height, "Brimbolt GL test", nullptr, nullptr);
    }
    if (window) {
        glfwMakeContextCurrent(window);
    }
}

GLTestContext::~GLTestContext()
{
    if (window) {
        glfwMakeContextCurrent(nullptr);
        glfwDestroyWindow(window);
    }
}

void GLTestContext::clearErrors()
{
    while (glGetError() != GL_NO_ERROR) {
    }
}
