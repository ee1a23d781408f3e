#pragma once

#include "platform/Window.h"

// The size the window opens at. In full screen the desktop size is taken when
// it fits within the maximum, otherwise exactly the maximum; a window keeps the
// configured size.
struct WindowSize {
    int width = 0;
    int height = 0;

    static WindowSize choose(int mode, const platform::VideoMode& desktop, int configuredWidth,
                             int configuredHeight, int maximumWidth, int maximumHeight);
    // Only a configured value of exactly 1 asks for full screen.
    static int modeFromConfig(int fullscreenValue);
};
