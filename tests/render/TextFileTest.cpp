#include "render/TextFile.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

TEST(TextFile, ExistsOnlyWhenItOpens)
{
    ScratchDir scratch;
    std::string path = scratch.write("present.vert", "void main() {}\n").string();
    EXPECT_TRUE(fileExists(path));
    EXPECT_FALSE(fileExists((scratch.path() / "absent.vert").string()));
}

TEST(TextFile, ReadsTheWholeFile)
{
    ScratchDir scratch;
    const std::string text = "#version 330 core\n\nvoid main()\n{\n}\n";
    EXPECT_EQ(readFile(scratch.write("whole.frag", text).string()), text);
    EXPECT_EQ(readFile(scratch.write("empty.frag", "").string()), "");
}
