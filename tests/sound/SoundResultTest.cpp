#include "sound/SoundResult.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace FMOD;

const std::vector<FMOD_RESULT> kAllResults = {
    FMOD_OK,
    FMOD_ERR_INVALID_PARAM,
    FMOD_ERR_FILE_NOTFOUND,
    FMOD_ERR_FILE_BAD,
    FMOD_ERR_FORMAT,
    FMOD_ERR_CHANNEL_ALLOC,
    FMOD_ERR_INVALID_HANDLE,
    FMOD_ERR_UNINITIALIZED,
    FMOD_ERR_INITIALIZED,
    FMOD_ERR_OUTPUT_INIT,
    FMOD_ERR_UNSUPPORTED,
    FMOD_ERR_INTERNAL,
};

TEST(SoundResultTest, OnlySuccessIsZeroAndCodesAreDistinct)
{
    std::set<int> values;
    for (FMOD_RESULT result : kAllResults) {
        EXPECT_TRUE(values.insert(result).second) << "duplicate value " << result;
        if (result != FMOD_OK) {
            EXPECT_NE(result, 0);
        }
    }
    EXPECT_EQ(FMOD_OK, 0);
}

TEST(SoundResultTest, EveryCodeHasItsOwnText)
{
    std::set<std::string> texts;
    for (FMOD_RESULT result : kAllResults) {
        const char* text = FMOD_ErrorString(result);
        ASSERT_NE(text, nullptr) << "code " << result;
        EXPECT_GT(std::string(text).size(), 5u) << "code " << result;
        EXPECT_TRUE(texts.insert(text).second) << "code " << result << " repeats \"" << text << "\"";
    }
}

TEST(SoundResultTest, UnknownCodesStillGetAText)
{
    for (int raw : {-1, 12, 999}) {
        const char* text = FMOD_ErrorString(static_cast<FMOD_RESULT>(raw));
        ASSERT_NE(text, nullptr);
        EXPECT_FALSE(std::string(text).empty());
        for (FMOD_RESULT known : kAllResults)
            EXPECT_STRNE(text, FMOD_ErrorString(known)) << "value " << raw;
    }
}

TEST(SoundResultTest, ModeBitsMatchWhatTheDemoPasses)
{
    EXPECT_EQ(FMOD_LOOP_NORMAL | FMOD_2D | FMOD_HARDWARE, 0x2Au);
    EXPECT_EQ(FMOD_DEFAULT, 0u);
    EXPECT_EQ(FMOD_INIT_NORMAL, 0u);
    EXPECT_EQ(FMOD_CHANNEL_FREE, -1);
    // The capture and silent flags must not collide with each other or with
    // bits that callers already pass by habit.
    EXPECT_EQ(FMOD_INIT_CAPTURE & FMOD_INIT_SILENT, 0u);
    EXPECT_NE(FMOD_INIT_CAPTURE, 0u);
    EXPECT_NE(FMOD_INIT_SILENT, 0u);
}

}  // namespace
