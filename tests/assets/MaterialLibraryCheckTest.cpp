#include "assets/MaterialLibraryCheck.h"

#include <gtest/gtest.h>

#include <string>

TEST(MaterialLibraryCheck, LibrariesStartingWithNewmtlPass)
{
    EXPECT_EQ(MaterialLibraryCheck::problemIn(""), "");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("newmtl red\nKd 1 0 0\n"), "");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("# made by hand\r\n\r\n\t  newmtl red\r\nKd 1 0 0\r\n"), "");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("\xEF\xBB\xBFnewmtl red\nKd 1 0 0\n"), "");
    // After the first newmtl anything goes: that is Assimp's to read.
    EXPECT_EQ(MaterialLibraryCheck::problemIn("newmtl a\nKd x\n????\n"), "");
}

TEST(MaterialLibraryCheck, StatementsBeforeTheFirstNewmtlAreRefused)
{
    EXPECT_EQ(MaterialLibraryCheck::problemIn("Kd 1 0 0\nnewmtl red\n"), "\"Kd\" before the first newmtl");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("# colours\n  map_Kd wood.jpg\n"),
              "\"map_Kd\" before the first newmtl");
    // Assimp ends lines at a NUL and a form feed too.
    EXPECT_EQ(MaterialLibraryCheck::problemIn(std::string("# a\0Ns 10\nnewmtl b\n", 20)),
              "\"Ns\" before the first newmtl");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("# a\fbump x.png\nnewmtl b\n"), "\"bump\" before the first newmtl");
    // A UTF-16 library starts with its byte order mark.
    EXPECT_NE(MaterialLibraryCheck::problemIn(std::string("\xFF\xFEn\0e\0w\0m\0t\0l\0", 14)), "");
}

TEST(MaterialLibraryCheck, LibrariesOfOneToSevenBytesAreRefused)
{
    EXPECT_EQ(MaterialLibraryCheck::problemIn("\n"), "shorter than 8 bytes");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("# 12345"), "shorter than 8 bytes");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("newmtl\n"), "shorter than 8 bytes");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("newmtl a"), "");
}
