#include "app/WindowSize.h"

#include <gtest/gtest.h>

using platform::GLFW_FULLSCREEN;
using platform::GLFW_WINDOW;

TEST(WindowSize, OnlyExactlyOneMeansFullScreenWhichTakesTheDesktopOnlyWhenItFits)
{
    EXPECT_EQ(WindowSize::modeFromConfig(1), GLFW_FULLSCREEN);
    for (int value : {2, 0, -1}) {
        EXPECT_EQ(WindowSize::modeFromConfig(value), GLFW_WINDOW) << value;
    }

    auto choose = [](int mode, int desktopWidth, int desktopHeight) {
        platform::VideoMode desktop;
        desktop.Width = desktopWidth;
        desktop.Height = desktopHeight;
        WindowSize size = WindowSize::choose(mode, desktop, 1280, 720, 1920, 1080);
        return std::make_pair(size.width, size.height);
    };
    EXPECT_EQ(choose(GLFW_FULLSCREEN, 1280, 720), std::make_pair(1280, 720));
    EXPECT_EQ(choose(GLFW_FULLSCREEN, 1920, 1080), std::make_pair(1920, 1080));
    EXPECT_EQ(choose(GLFW_FULLSCREEN, 2560, 1440), std::make_pair(1920, 1080));
    // Too big in one direction only is still too big: the maximum, not a clipped desktop.
    EXPECT_EQ(choose(GLFW_FULLSCREEN, 1600, 1200), std::make_pair(1920, 1080));
    EXPECT_EQ(choose(GLFW_FULLSCREEN, 2048, 768), std::make_pair(1920, 1080));
    // No desktop mode known.
    EXPECT_EQ(choose(GLFW_FULLSCREEN, 0, 0), std::make_pair(1920, 1080));
    // A window keeps the configured size whatever the desktop.
    EXPECT_EQ(choose(GLFW_WINDOW, 2560, 1440), std::make_pair(1280, 720));
}
