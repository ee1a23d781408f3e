#include "app/ConfigFile.h"
#include "app/ProgramSettings.h"
#include "app/RaceClock.h"
#include "support/ScratchDir.h"

#include "support/CapturedOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

} // namespace

// The program's settings: a value that is no usable number gives the default
// and one line naming the file, the key and the value; a usable one, or an
// absent key, prints nothing.
TEST(ConfigFileBadInput, SettingsOutOfRangeOrNotNumbersFallBackWithOneLine)
{
    ScratchDir scratch("brimbolt_config_bad");
    const std::string file = scratch.write("config.txt", "zero = 0\n"
                                                         "negative = -5\n"
                                                         "huge = 99999999\n"
                                                         "overflow = 99999999999\n"
                                                         "notANumber = nan\n"
                                                         "word = wide\n"
                                                         "empty =\n"
                                                         "continued = abc\n"
                                                         "  def\n"
                                                         "\n"
                                                         "suffixed = 720px\n"
                                                         "exponent = 1e30\n"
                                                         "plain = 640\n")
                                 .string();
    const ConfigFile config(file);
    struct Case {
        const char* key;
        const char* shown; // nullptr: accepted without a line
        int expected;
    };
    const Case cases[] = {
        {"zero", "0", 1280},
        {"negative", "-5", 1280},
        {"huge", "99999999", 1280},
        {"overflow", "99999999999", 1280},
        {"notANumber", "nan", 1280},
        {"word", "wide", 1280},
        {"empty", "", 1280},
        {"continued", "abc", 1280},
        // Read as a number is read everywhere in the file: the longest prefix.
        {"suffixed", nullptr, 720},
        {"exponent", nullptr, 1},
        {"plain", nullptr, 640},
        {"absent", nullptr, 1280},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        int value = 0;
        const std::string printed = printedBy([&] { value = config.getWholeNumber(c.key, 1280, 1, 8192); });
        EXPECT_EQ(value, c.expected);
        if (!c.shown) {
            EXPECT_EQ(printed, "");
            continue;
        }
        EXPECT_EQ(printed, "Configuration file '" + file + "': " + c.key + " \"" + c.shown +
                               "\" is not a whole number from 1 to 8192; using 1280.\n");
    }

    // Without a range only what is no number at all is reported.
    int sound = 0;
    std::string printed = printedBy([&] { sound = config.getWholeNumber("negative", 1); });
    EXPECT_EQ(sound, -5);
    EXPECT_EQ(printed, "");
    printed = printedBy([&] { sound = config.getWholeNumber("word", 1); });
    EXPECT_EQ(sound, 1);
    EXPECT_EQ(printed, "Configuration file '" + file + "': word \"wide\" is not a whole number; using 1.\n");
}

// A file that is not a configuration at all, or one cut off mid-line, still
// reads: what has no delimiter is skipped, and every setting falls back.
TEST(ConfigFileBadInput, BinaryOrTruncatedFilesReadWithoutHarm)
{
    ScratchDir scratch("brimbolt_config_bad");
    std::string noise;
    unsigned seed = 12345;
    for (int i = 0; i < 4096; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise += static_cast<char>((seed >> 16) & 0xff);
    }
    noise += std::string("\0width\0=\0\xff\n", 11);
    const ConfigFile binary(scratch.write("binary.txt", noise).string());
    std::string printed;
    int width = 0;
    printed = printedBy([&] { width = binary.getWholeNumber("width", 1280, 1, 8192); });
    EXPECT_EQ(width, 1280);
    EXPECT_LE(lineCount(printed), 1) << printed;

    // A write that stopped inside "height = 720": the last whole key stands,
    // the cut one is taken as written, the missing ones keep their defaults.
    const ConfigFile cut(scratch.write("cut.txt", "width = 640\nfullscreen = 0\nheight = 7").string());
    printed = printedBy([&] {
        EXPECT_EQ(cut.getWholeNumber("width", 1280, 1, 8192), 640);
        EXPECT_EQ(cut.getWholeNumber("height", 720, 1, 8192), 7);
        EXPECT_EQ(cut.getWholeNumber("sound", 1), 1);
    });
    EXPECT_EQ(printed, "");
    const ConfigFile cutKey(scratch.write("cutKey.txt", "width = 640\nhei").string());
    EXPECT_EQ(cutKey.values().size(), 1u);
}

// The race step: a fraction or a decimal, 0 turning the fixed step off; what
// is no such number, out of range, or so fine that the race could not keep
// up is reported in one line and the default step is used.
TEST(ConfigFileBadInput, RaceStepTakesFractionsAndDecimalsAndRefusesTheRest)
{
    ScratchDir scratch("brimbolt_config_step");
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
        const ConfigFile config(scratch.write("config.txt", std::string("raceStep = ") + c.value + "\n").string());
        double step = -1.0;
        const std::string printed = printedBy([&] { step = programSettings::readRaceStep(config); });
        EXPECT_EQ(step, c.expected);
        EXPECT_EQ(lineCount(printed), c.reported ? 1 : 0) << printed;
    }
    const ConfigFile none(scratch.write("config.txt", "width = 640\n").string());
    EXPECT_EQ(programSettings::readRaceStep(none), standard);
}
