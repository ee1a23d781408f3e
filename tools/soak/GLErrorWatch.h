#pragma once

#include <epoxy/gl.h>

// Counts the GL errors of a run two ways: the driver's debug output
// (KHR_debug), which names the call that failed, and glGetError, asked at
// the points the caller chooses (once per drawn frame). The first few
// errors are printed. A context must be current from install() on, and the
// watch must outlive that context: the driver's callback points at it.
class GLErrorWatch {
public:
    GLErrorWatch() = default;
    GLErrorWatch(const GLErrorWatch&) = delete;
    GLErrorWatch& operator=(const GLErrorWatch&) = delete;

    // Sets the debug-output callback; false, with the reason printed, when
    // the context has no KHR_debug (glGetError still counts then).
    bool install();
    // Drains glGetError; `where` names the point in the printed lines.
    void check(const char* where);

    long errors() const { return debugErrors + queuedErrors; }
    long debugOutputErrors() const { return debugErrors; }
    long getErrorErrors() const { return queuedErrors; }
    bool debugContext() const { return isDebugContext; }
    bool debugOutput() const { return installed; }

private:
    static void GLAPIENTRY onMessage(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei length,
                                     const GLchar* message, const void* watch);
    void report(const char* text);

    bool installed = false;
    bool isDebugContext = false;
    long debugErrors = 0;
    long queuedErrors = 0;
    int printed = 0;
};
