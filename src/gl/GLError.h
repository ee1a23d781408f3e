#pragma once

#include <epoxy/gl.h>

#include <string_view>

// Takes one error from the GL's queue and reports it as a line on std::cerr;
// prints nothing when none is queued. Later queued errors are left for later
// calls, so each call site reports at most what happened since the last one.
void checkGLError();

// The console text for a glGetError value (without the line end).
std::string_view glErrorMessage(GLenum error);
