#include "vehicles/CarMovement.h"

#include "support/CapturedOutput.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::string script(const ScratchDir& folder, const std::string& text)
{
    return folder.write("movement.txt", text).string();
}

} // namespace

TEST(CarMovement, EventsTakeEffectOnceTheRaceTimeIsPastThemAndTimeNeverRunsBack)
{
    ScratchDir folder;
    CarMovement movement(script(folder, "0;1\n2.5;5\n4;0\n"));
    EXPECT_EQ(movement.eventCount(), 3);
    EXPECT_EQ(movement.flagsAt(0.0f).flags(), 0);
    EXPECT_EQ(movement.flagsAt(0.016f).flags(), 1);
    EXPECT_EQ(movement.flagsAt(2.5f).flags(), 1);
    EXPECT_EQ(movement.flagsAt(3.0f).flags(), 5);
    // An earlier time asked later holds what the script reached.
    EXPECT_EQ(movement.flagsAt(0.5f).flags(), 5);
    EXPECT_EQ(movement.flagsAt(10.0f).flags(), 0);

    // One query past several events answers with the last of them.
    CarMovement jump(script(folder, "0;1\n2.5;5\n4;0\n"));
    EXPECT_EQ(jump.flagsAt(3.0f).flags(), 5);
}

// Whatever a script file holds, it reads silently as events of the numbers
// that stand there (a malformed number, "nan" included, reads as 0), and the
// car drives on: a broken script never stops the race.
TEST(CarMovement, OddScriptsReadSilentlyAsEventsOfWhateverNumbersStandThere)
{
    ScratchDir folder;
    struct Case {
        const char* what;
        std::string text;
        int events;
        std::vector<std::pair<float, int>> flagsAt; // in race order
    };
    const Case cases[] = {
        {"empty", "", 1, {{0.0f, 0}, {100.0f, 0}}},
        // The lone line feed is one more event, (0, 0), applied in the same
        // step as the event before it, whose flags therefore never show.
        {"a last line without separator", "0;1\n2.5;5\n\n", 3, {{1.0f, 1}, {3.0f, 0}, {9.0f, 0}}},
        {"no line feed after the last event", "0;1\n2.5;5", 2, {{3.0f, 5}}},
        {"blanks, exponents, signs and trailing text", "-2;+9\nsoon;6\n 1e-1;  3 and more\n0.5e1;x7\n", 4,
         {{-1.0f, 9}, {0.05f, 6}, {0.2f, 3}, {4.9f, 3}, {5.1f, 0}}},
        // The NaN event falls due with the first one and takes its place;
        // times past the race hold the flags before them.
        {"nan and times past the race", "0.5;1\nnan;5\n2;4\n1e30;2\ninf;8\n", 5,
         {{0.25f, 0}, {1.0f, 5}, {2.5f, 4}, {1.0e6f, 4}}},
        // "2." lost its separator and flags: an event at 2 s that lets go of every control.
        {"cut inside the last time", "0;1\n1;5\n2.", 3, {{0.5f, 1}, {1.5f, 5}, {2.5f, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = script(folder, c.text);
        std::string printed = printedBy([&] {
            CarMovement movement(path);
            EXPECT_EQ(movement.eventCount(), c.events);
            for (const auto& [time, flags] : c.flagsAt) {
                EXPECT_EQ(movement.flagsAt(time).flags(), flags) << "at " << time;
            }
        });
        EXPECT_EQ(printed, "");
    }

    CarMovement missing((folder.path() / "absent.txt").string());
    EXPECT_EQ(missing.eventCount(), 1);
    EXPECT_EQ(missing.flagsAt(5.0f).flags(), 0);
}
