#pragma once

#include <epoxy/gl.h>

// A hidden window with an OpenGL 3.3 core context for GL tests. The tests run
// under a virtual X server on Mesa's software renderer; without any display
// the GL tests are skipped (see GL_TEST_SETUP).
class GLTestContext {
public:
    GLTestContext(int width = 64, int height = 64);
    ~GLTestContext();
    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    bool ready() const { return window != nullptr; }
    // Discards errors left queued by earlier calls.
    static void clearErrors();

private:
    struct GLFWwindow* window = nullptr;
};

// Use at the top of a GL test: makes a context or skips the test when none can be made.
#define GL_TEST_SETUP(contextName)                                                                   \
    GLTestContext contextName;                                                                        \
    if (!contextName.ready()) {                                                                       \
        GTEST_SKIP() << "no OpenGL 3.3 context (no display?)";                                        \
    }                                                                                                 \
    GLTestContext::clearErrors()
