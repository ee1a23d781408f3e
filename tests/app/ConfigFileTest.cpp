#include "app/ConfigFile.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

namespace {

// Writes text to a fresh file and parses it as the program does.
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

TEST(ConfigFile, SingleLineValuesCommentsAndDelimiters)
{
    ConfigFile config = parse("no delimiter here\n"
                              "width = 800 # wide enough\n"
                              "a = b = c\n"
                              "title = x#y\n"
                              "height = 600\n"
                              "height = 900\n"
                              "  spaced key\t=  \tvalue with  inner space \r\n"
                              "empty =\n");
    EXPECT_EQ(valueOf(config, "width"), "800");
    EXPECT_EQ(valueOf(config, "a"), "b = c");
    EXPECT_EQ(valueOf(config, "title"), "x");
    EXPECT_EQ(config.getValue<int>("height", 0), 900);
    EXPECT_EQ(valueOf(config, "spaced key"), "value with  inner space");
    EXPECT_EQ(valueOf(config, "empty"), "");
    EXPECT_EQ(config.values().size(), 6u);
}

TEST(ConfigFile, EndMarkerStopsReading)
{
    ConfigFile config = parse("width = 640\nEndConfigFile\nheight = 480\n");
    EXPECT_EQ(config.getValue<int>("width", 0), 640);
    EXPECT_FALSE(config.hasKey("height"));
    EXPECT_EQ(config.getValue<int>("height", 720), 720);

    // The marker inside a comment does not count, inside a value it does.
    ConfigFile commented = parse("# EndConfigFile\nwidth = 1\nname = EndConfigFile now\nheight = 2\n");
    EXPECT_EQ(commented.getValue<int>("width", 0), 1);
    EXPECT_FALSE(commented.hasKey("name"));
    EXPECT_FALSE(commented.hasKey("height"));
}

TEST(ConfigFile, ContinuedValues)
{
    ConfigFile blankEnds = parse("key = one\n  two\n\nother = 3\n");
    EXPECT_EQ(valueOf(blankEnds, "key"), "one\n  two");
    EXPECT_EQ(blankEnds.getValue<int>("other", 0), 3);

    ConfigFile commentInside = parse("key = one\n# only a comment\ntwo\n");
    EXPECT_EQ(valueOf(commentInside, "key"), "one\ntwo");

    // A following key line ends the value and is itself read.
    ConfigFile nextKey = parse("key = one\ntwo\nthree = 3\n");
    EXPECT_EQ(valueOf(nextKey, "key"), "one\ntwo");
    EXPECT_EQ(nextKey.getValue<int>("three", 0), 3);

    // The end marker ends the value and the file.
    ConfigFile marker = parse("key = one\ntwo\nEndConfigFile\nthree = 3\n");
    EXPECT_EQ(valueOf(marker, "key"), "one\ntwo");
    EXPECT_FALSE(marker.hasKey("three"));
}

TEST(ConfigFile, LastLineWithoutLineEnd)
{
    EXPECT_EQ(parse("width = 1\nheight = 720").getValue<int>("height", 0), 720);
    EXPECT_EQ(valueOf(parse("key = one\ntwo"), "key"), "one\ntwo");
}

TEST(ConfigFile, EmptyOrCommentOnlyFilesGiveDefaults)
{
    EXPECT_TRUE(parse("").values().empty());
    ConfigFile comments = parse("# width = 10\n   # height = 20\n\n");
    EXPECT_TRUE(comments.values().empty());
    EXPECT_EQ(comments.getValue<int>("width", 1280), 1280);
}

TEST(ConfigFile, ConvertsByStreamExtraction)
{
    EXPECT_EQ(ConfigFile::convertValue<int>("1280"), 1280);
    EXPECT_EQ(ConfigFile::convertValue<int>("720px"), 720);
    EXPECT_EQ(ConfigFile::convertValue<int>("1280.9"), 1280);
    EXPECT_EQ(ConfigFile::convertValue<int>(" 42"), 42);
    EXPECT_EQ(ConfigFile::convertValue<int>("wide", 7), 7);
    EXPECT_EQ(ConfigFile::convertValue<int>("", 7), 7);
    EXPECT_DOUBLE_EQ(ConfigFile::convertValue<double>("0.25s"), 0.25);

    ConfigFile config = parse("width = 720px\nsound = loud\n");
    EXPECT_EQ(config.getValue<int>("width", 0), 720);
    EXPECT_EQ(config.getValue<int>("sound", 1), 1);
}

TEST(ConfigFile, TrimsTheWholeWhitespaceSet)
{
    std::string text = " \n\t\v\r\fkey  value\f\r\v\t\n ";
    ConfigFile::trimWhitespace(text);
    EXPECT_EQ(text, "key  value");
    std::string blank = " \t ";
    ConfigFile::trimWhitespace(blank);
    EXPECT_EQ(blank, "");
}

TEST(ConfigFile, MissingFileThrowsWithItsName)
{
    try {
        ConfigFile config("/nonexistent/brimbolt/config.txt");
        FAIL() << "no exception";
    } catch (const ConfigFile::file_not_found& missing) {
        EXPECT_EQ(missing.filename, "/nonexistent/brimbolt/config.txt");
    }
}
