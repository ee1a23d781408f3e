#include "app/WindowSize.h"

WindowSize WindowSize::choose(int mode, const platform::VideoMode& desktop, int configuredWidth,
                              int configuredHeight, int maximumWidth, int maximumHeight)
{
    if (mode != platform::GLFW_FULLSCREEN) {
        return {configuredWidth, configuredHeight};
    }
    bool desktopFits = desktop.Width > 0 && desktop.Height > 0 && desktop.Width <= maximumWidth &&
                       desktop.Height <= maximumHeight;
    if (desktopFits) {
        return {desktop.Width, desktop.Height};
    }
    return {maximumWidth, maximumHeight};
}

int WindowSize::modeFromConfig(int fullscreenValue)
{
    return fullscreenValue == 1 ? platform::GLFW_FULLSCREEN : platform::GLFW_WINDOW;
}
