#include "vehicles/CarMovement.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Reads the text as a movement script; what reading printed goes to printed.
CarMovement readScript(const ScratchDir& folder, const std::string& text, std::string& printed)
{
    const std::string path = folder.write("movement.txt", text).string();
    testing::internal::CaptureStdout();
    CarMovement movement(path);
    printed = testing::internal::GetCapturedStdout();
    return movement;
}

} // namespace

// Absurd numbers never stop the script: "nan" reads as 0 like any other
// malformed time, so the events after it still come; times past the race or
// never reached hold the flags before them; nothing is printed.
TEST(CarMovementBadInput, AbsurdTimesAndFlagsKeepTheScriptGoing)
{
    ScratchDir folder;
    std::string printed;
    CarMovement movement = readScript(folder, "0.5;1\nnan;5\n2;4\n1e30;2\ninf;8\n", printed);
    EXPECT_EQ(printed, "");
    ASSERT_EQ(movement.eventCount(), 5);
    EXPECT_EQ(movement.flagsAt(0.25f).flags(), 0);
    // The NaN event falls due with the first one and takes its place.
    EXPECT_EQ(movement.flagsAt(1.0f).flags(), 5);
    EXPECT_EQ(movement.flagsAt(2.5f).flags(), 4);
    EXPECT_EQ(movement.flagsAt(1.0e6f).flags(), 4);

    // A number of flags too large for an int sets bits, not a crash.
    CarMovement wide = readScript(folder, "0;99999999999999999999\n-1e30;1\n", printed);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(wide.flagsAt(0.1f).has(Control::Accelerate), true);
}

// Binary noise or a script cut off mid-line reads as events of whatever
// numbers stand there, silently, and the car drives on.
TEST(CarMovementBadInput, BinaryOrTruncatedScriptsReadWithoutHarm)
{
    ScratchDir folder;
    std::string noise;
    unsigned seed = 99;
    for (int i = 0; i < 8192; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise += static_cast<char>((seed >> 16) & 0xff);
    }
    std::string printed;
    CarMovement binary = readScript(folder, noise, printed);
    EXPECT_EQ(printed, "");
    EXPECT_GE(binary.eventCount(), 1);
    for (float time : {0.0f, 0.5f, 10.0f, 1000.0f}) {
        binary.flagsAt(time).flags();
    }

    // Cut inside the third event's time: "2." lost its separator and flags,
    // and reads as an event at 2 s that lets go of every control.
    CarMovement cut = readScript(folder, "0;1\n1;5\n2.", printed);
    EXPECT_EQ(printed, "");
    ASSERT_EQ(cut.eventCount(), 3);
    EXPECT_EQ(cut.flagsAt(0.5f).flags(), 1);
    EXPECT_EQ(cut.flagsAt(1.5f).flags(), 5);
    EXPECT_EQ(cut.flagsAt(2.5f).flags(), 0);
}
