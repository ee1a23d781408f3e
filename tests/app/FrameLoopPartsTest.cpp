#include "app/FrameRateCounter.h"
#include "app/KeyTest.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

TEST(KeyTest, FiresOnceOnReleaseAndNeverWhileHeld)
{
    KeyTest keys;
    const int key = 292; // F3
    EXPECT_FALSE(keys.fired(key, false));
    for (int frame = 0; frame < 50; ++frame) {
        EXPECT_FALSE(keys.fired(key, true)) << "frame " << frame;
    }
    EXPECT_TRUE(keys.fired(key, false));
    EXPECT_FALSE(keys.fired(key, false));
    // Keys are independent.
    EXPECT_FALSE(keys.fired(key, true));
    EXPECT_FALSE(keys.fired(293, false));
    EXPECT_TRUE(keys.fired(key, false));
}

TEST(FrameRateCounter, TitleAfterASecondCountsOnlyTheFramesBeforeIt)
{
    FrameRateCounter counter;
    EXPECT_EQ(counter.title(), "Brimbolt");
    EXPECT_FALSE(counter.addFrame(0.0)); // first frame runs with no frame time
    for (int frame = 0; frame < 7; ++frame) {
        EXPECT_FALSE(counter.addFrame(0.125));
    }
    EXPECT_EQ(counter.title(), "Brimbolt");
    EXPECT_FALSE(counter.addFrame(0.125)); // reaches 1.0 s, still counted
    EXPECT_TRUE(counter.addFrame(0.125));  // noticed on the next frame, which is not counted
    EXPECT_EQ(counter.title(), "Brimbolt (9 FPS)");
    EXPECT_DOUBLE_EQ(framesPerSecond, 9.0);

    // One long frame passes the second at once.
    EXPECT_FALSE(counter.addFrame(1.5));
    EXPECT_TRUE(counter.addFrame(0.01));
    EXPECT_EQ(counter.title(), "Brimbolt (1 FPS)");
}
