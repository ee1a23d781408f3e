#include "app/ConfigFile.h"
#include "app/ProgramSettings.h"
#include "app/RaceClock.h"
#include "settings/Settings.h"
#include "settings/WindowModes.h"

#include "support/CapturedOutput.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Writes text to a fresh file and reads it as the program reads bin/config.txt.
ConfigFile parse(const std::string& text)
{
    ScratchDir scratch("brimbolt_config");
    return ConfigFile(scratch.write("config.txt", text).string(), "=", "#", "EndConfigFile");
}

std::string valueOf(const ConfigFile& config, const std::string& key)
{
    auto entry = config.values().find(key);
    return entry == config.values().end() ? "<absent>" : entry->second;
}

} // namespace

TEST(ConfigFile, SingleLineValuesCommentsDelimitersAndTheEndMarker)
{
    ConfigFile config = parse("no delimiter here\n"
                              "# width = 10\n"
                              "width = 800 # wide enough\n"
                              "a = b = c\n"
                              "title = x#y\n"
                              "height = 600\n"
                              "height = 900\n"
                              "  spaced key\t=  \tvalue with  inner space \r\n"
                              "empty =\n"
                              "EndConfigFile\n"
                              "after = 1\n");
    EXPECT_EQ(valueOf(config, "width"), "800");
    EXPECT_EQ(valueOf(config, "a"), "b = c");
    EXPECT_EQ(valueOf(config, "title"), "x");
    EXPECT_EQ(valueOf(config, "height"), "900");
    EXPECT_EQ(valueOf(config, "spaced key"), "value with  inner space");
    EXPECT_EQ(valueOf(config, "empty"), "");
    EXPECT_EQ(config.values().size(), 6u);

    // The marker inside a comment does not count, inside a value it does.
    ConfigFile commented = parse("# EndConfigFile\nwidth = 1\nname = EndConfigFile now\nheight = 2\n");
    EXPECT_EQ(valueOf(commented, "width"), "1");
    EXPECT_FALSE(commented.hasKey("name"));
    EXPECT_FALSE(commented.hasKey("height"));
    EXPECT_TRUE(parse("").values().empty());
}

TEST(ConfigFile, AValueContinuesOverLinesUntilABlankLineAKeyOrTheEnd)
{
    ConfigFile blankEnds = parse("key = one\n  two\n\nother = 3\n");
    EXPECT_EQ(valueOf(blankEnds, "key"), "one\n  two");
    EXPECT_EQ(valueOf(blankEnds, "other"), "3");
    EXPECT_EQ(valueOf(parse("key = one\n# only a comment\ntwo # and one here\n"), "key"), "one\ntwo");
    // A following key line ends the value and is itself read.
    ConfigFile nextKey = parse("key = one\ntwo\nthree = 3\n");
    EXPECT_EQ(valueOf(nextKey, "key"), "one\ntwo");
    EXPECT_EQ(valueOf(nextKey, "three"), "3");
    // The end marker ends the value and the file.
    ConfigFile marker = parse("key = one\ntwo\nEndConfigFile\nthree = 3\n");
    EXPECT_EQ(valueOf(marker, "key"), "one\ntwo");
    EXPECT_FALSE(marker.hasKey("three"));
    // The last line needs no line end.
    EXPECT_EQ(valueOf(parse("key = one\ntwo"), "key"), "one\ntwo");
    EXPECT_EQ(valueOf(parse("width = 1\nheight = 720"), "height"), "720");
}

// A value that is no usable number gives the default and one line naming the
// file, the key and the value; a usable one, or an absent key, prints nothing.
TEST(ConfigFile, WholeNumbersOutOfRangeOrNoNumbersFallBackWithOneLine)
{
    ScratchDir scratch("brimbolt_config_bad");
    const std::string file = scratch.write("config.txt", "zero = 0\nnegative = -5\nhuge = 99999999\n"
                                                         "overflow = 99999999999\nnotANumber = nan\nword = wide\n"
                                                         "empty =\ncontinued = abc\n  def\n\nsuffixed = 720px\n"
                                                         "exponent = 1e30\nplain = 640\n")
                                 .string();
    const ConfigFile config(file);
    struct Case {
        const char* key;
        const char* shown; // nullptr: accepted without a line
        int expected;
    };
    const Case cases[] = {
        {"zero", "0", 1280}, {"negative", "-5", 1280}, {"huge", "99999999", 1280}, {"overflow", "99999999999", 1280},
        {"notANumber", "nan", 1280}, {"word", "wide", 1280}, {"empty", "", 1280}, {"continued", "abc", 1280},
        // Read as a number is read everywhere in the file: the longest prefix.
        {"suffixed", nullptr, 720}, {"exponent", nullptr, 1}, {"plain", nullptr, 640}, {"absent", nullptr, 1280},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        int value = 0;
        const std::string printed = printedBy([&] { value = config.getWholeNumber(c.key, 1280, 1, 8192); });
        EXPECT_EQ(value, c.expected);
        EXPECT_EQ(printed, c.shown ? "Configuration file '" + file + "': " + c.key + " \"" + c.shown +
                                         "\" is not a whole number from 1 to 8192; using 1280.\n"
                                   : "");
    }

    // Without a range only what is no number at all is reported.
    int sound = 0;
    EXPECT_EQ(printedBy([&] { sound = config.getWholeNumber("negative", 1); }), "");
    EXPECT_EQ(sound, -5);
    EXPECT_EQ(printedBy([&] { sound = config.getWholeNumber("word", 1); }),
              "Configuration file '" + file + "': word \"wide\" is not a whole number; using 1.\n");
    EXPECT_EQ(sound, 1);
}

// The program's window settings: each key has the default the file itself
// documents, which a key that is absent or holds no usable size gives.
TEST(ProgramSettings, EveryWindowKeyHasItsDefault)
{
    const int saved[] = {windowWidth, windowHeight, maxWidth, maxHeight, windowMode};
    for (const char* text : {"sound = 0\n", "width = 0\nheight = tall\nmaxWidth = -1\nmaxHeight = 99999\nfullscreen = x\n"}) {
        SCOPED_TRACE(text);
        printedBy([&] { programSettings::readWindow(parse(text)); });
        EXPECT_EQ(windowWidth, 1280);
        EXPECT_EQ(windowHeight, 720);
        EXPECT_EQ(maxWidth, 1920);
        EXPECT_EQ(maxHeight, 1080);
        EXPECT_EQ(windowMode, platform::GLFW_FULLSCREEN);
    }
    programSettings::readWindow(parse("width = 640\nheight = 360\nmaxWidth = 800\nmaxHeight = 600\nfullscreen = 0\n"));
    EXPECT_EQ(windowWidth, 640);
    EXPECT_EQ(windowHeight, 360);
    EXPECT_EQ(maxWidth, 800);
    EXPECT_EQ(maxHeight, 600);
    EXPECT_EQ(windowMode, platform::GLFW_WINDOW);
    windowWidth = saved[0], windowHeight = saved[1], maxWidth = saved[2], maxHeight = saved[3], windowMode = saved[4];
}

// The race step: a fraction or a decimal, 0 turning the fixed step off; what
// is no such number, out of range, or so fine that the race could not keep
// up is reported in one line and the default step is used.
TEST(ProgramSettings, RaceStepTakesFractionsAndDecimalsAndRefusesTheRest)
{
    struct Case {
        const char* value;
        double expected;
        bool reported;
    };
    const double standard = RaceClock::defaultStep;
    const Case cases[] = {
        {"1/240", 1.0 / 240.0, false}, {" 1 / 120 ", 1.0 / 120.0, false}, {"0.01", 0.01, false},
        {"0", 0.0, false},             {"1/0", standard, true},            {"1/240s", standard, true},
        {"-0.01", standard, true},     {"0.5", standard, true},            {"1/100000", standard, true},
        {"fast", standard, true},      {"", standard, true},               {"nan", standard, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("raceStep = ") + c.value);
        const ConfigFile config = parse(std::string("raceStep = ") + c.value + "\n");
        double step = -1.0;
        const std::string printed = printedBy([&] { step = programSettings::readRaceStep(config); });
        EXPECT_EQ(step, c.expected);
        EXPECT_EQ(lineCount(printed), c.reported ? 1 : 0) << printed;
    }
    EXPECT_EQ(programSettings::readRaceStep(parse("width = 640\n")), standard);
}
