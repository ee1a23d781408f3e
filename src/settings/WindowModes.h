#pragma once

namespace platform {

// The two window modes of the classic GLFW interface the window layer offers.
// They live below the window layer so that the process-wide window mode can
// start as full screen without the settings depending on the window code.
constexpr int GLFW_WINDOW = 0x00010001;
constexpr int GLFW_FULLSCREEN = 0x00010002;

} // namespace platform
