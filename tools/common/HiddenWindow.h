#pragma once

#include "platform/Window.h"

// Opens a small hidden window with an OpenGL 3.3 core context for tools that
// render into their own framebuffers; prints why, with the tool's name, when
// it cannot.
bool openHiddenWindow(platform::Window& window, const char* toolName);
