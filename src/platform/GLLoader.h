#pragma once

namespace platform {

// Resolves the OpenGL entry points for the current context. False when the
// context cannot serve the 3.3 core profile the renderer is written for.
bool loadGLFunctions();

} // namespace platform
