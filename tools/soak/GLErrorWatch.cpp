#include "GLErrorWatch.h"

#include <cstdio>
#include <string>

namespace {

// Enough to show what went wrong without flooding the console when the same
// call fails in every frame.
constexpr int printedErrorLimit = 5;

} // namespace

bool GLErrorWatch::install()
{
    GLint flags = 0;
    glGetIntegerv(GL_CONTEXT_FLAGS, &flags);
    isDebugContext = (flags & GL_CONTEXT_FLAG_DEBUG_BIT) != 0;
    if (epoxy_gl_version() < 43 && !epoxy_has_gl_extension("GL_KHR_debug")) {
        std::fprintf(stderr, "brimbolt_soak: no KHR_debug in this context; GL errors are counted by glGetError only\n");
        return false;
    }
    // Synchronous, so that a message arrives inside the call that caused it.
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(&GLErrorWatch::onMessage, this);
    installed = true;
    // Whatever the set-up calls above left queued is an error too.
    check("installing the debug output");
    return true;
}

void GLErrorWatch::check(const char* where)
{
    // glGetError keeps one flag per kind of error; a few rounds drain them all.
    for (int round = 0; round < 16; ++round) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR) {
            break;
        }
        ++queuedErrors;
        char text[128];
        std::snprintf(text, sizeof text, "glGetError 0x%04X after %s", error, where);
        report(text);
    }
}

void GLAPIENTRY GLErrorWatch::onMessage(GLenum, GLenum type, GLuint id, GLenum, GLsizei length,
                                        const GLchar* message, const void* watch)
{
    if (type != GL_DEBUG_TYPE_ERROR) {
        return;
    }
    auto* self = static_cast<GLErrorWatch*>(const_cast<void*>(watch));
    ++self->debugErrors;
    const std::string text = length >= 0 ? std::string(message, static_cast<std::size_t>(length)) : message;
    self->report(("debug output error " + std::to_string(id) + ": " + text).c_str());
}

void GLErrorWatch::report(const char* text)
{
    if (printed < printedErrorLimit) {
        std::fprintf(stderr, "brimbolt_soak: GL error: %s\n", text);
    } else if (printed == printedErrorLimit) {
        std::fprintf(stderr, "brimbolt_soak: more GL errors; only counted from here on\n");
    }
    ++printed;
}
