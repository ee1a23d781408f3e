// The checks that refuse, before Assimp reads them, model files it would not survive.
#include "assets/ColladaCheck.h"
#include "assets/MaterialLibraryCheck.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

namespace {

// A triangle read through one accessor, with the array's and the accessor's
// attributes, the indices and the accessor's parameters each test gives.
std::string triangle(const std::string& arrayAttributes, const std::string& accessorAttributes,
                     const std::string& indices = "0 1 2", const std::string& params = "XYZ")
{
    std::string paramText;
    for (char name : params) {
        paramText += std::string("<param name=\"") + name + "\" type=\"float\"/>";
    }
    return "<?xml version=\"1.0\"?>\n"
           "<COLLADA version=\"1.4.1\"><library_geometries><geometry id=\"g\"><mesh>\n"
           "<source id=\"p\"><float_array id=\"a\" " +
           arrayAttributes +
           ">0 0 0 1 0 0 0 1 0</float_array>\n"
           "<technique_common><accessor source=\"#a\" " +
           accessorAttributes + ">" + paramText +
           "</accessor></technique_common></source>\n"
           "<vertices id=\"v\"><input semantic=\"POSITION\" source=\"#p\"/></vertices>\n"
           "<triangles count=\"1\"><input semantic=\"VERTEX\" source=\"#v\" offset=\"0\"/><p>" +
           indices + "</p></triangles>\n</mesh></geometry></library_geometries></COLLADA>\n";
}

// Each document breaks the rule a test is named for; any report will do.
void expectEachRefused(std::initializer_list<std::string> documents)
{
    for (const std::string& document : documents) {
        EXPECT_NE(ColladaCheck::problemIn(document), "") << document;
    }
}

std::string sourceFile(const std::string& relativePath)
{
    std::ifstream file(std::string(BRIMBOLT_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    EXPECT_TRUE(file) << relativePath;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(ColladaCheck, WellFormedFilesPass)
{
    EXPECT_EQ(ColladaCheck::problemIn(triangle("count=\"9\"", "count=\"3\" stride=\"3\"")), "");
    // Padded numbers, a second array of the same id that replaces the first,
    // and an accessor that reads every other point from an offset.
    EXPECT_EQ(ColladaCheck::problemIn(triangle("count=' 9 '", "count=\"1\" offset=\"3\" stride=\"6\"", "0\n-0 +0")),
              "");
    EXPECT_EQ(ColladaCheck::problemIn("<!-- <p>x</p> --><a><![CDATA[<p>x</p>]]></a><?pi <p>x</p>?>"), "");
    // The seeds of the Collada fuzz target, written as real tools write them.
    for (const char* seed : {"two-materials.dae", "textured-polylist.dae", "bare-triangle.dae"}) {
        EXPECT_EQ(ColladaCheck::problemIn(sourceFile(std::string("tests/fuzz/corpus/mesh_dae/") + seed)), "") << seed;
    }
}

// Accessors stay inside their arrays (three parameters read three values of
// each point whatever the stride; a bind matrix sixteen from where its item
// starts), and counts are plain numbers no larger than the file.
TEST(ColladaCheck, AccessorsStayInsideTheirArraysAndCountsAreNumbersTheFileCanHold)
{
    EXPECT_EQ(ColladaCheck::problemIn(triangle("", "count=\"3\" stride=\"3\"")),
              "Collada check: an accessor reads past the end of 'a' (0 values) (line 4)");
    EXPECT_EQ(ColladaCheck::problemIn(triangle("count=\"-9\"", "count=\"3\" stride=\"3\"")),
              "Collada check: count \"-9\" in <float_array> is not a plain number (line 3)");
    expectEachRefused({triangle("count=\"8\"", "count=\"3\" stride=\"3\""),
                       triangle("count=\"9\"", "count=\"3\" offset=\"1\" stride=\"3\""),
                       triangle("count=\"9\"", "count=\"9\" stride=\"1\""),
                       triangle("count=\"0x9\"", "count=\"3\" stride=\"3\""),
                       triangle("count=\"&#57;\"", "count=\"3\" stride=\"3\""),
                       triangle("count=\"\"", "count=\"3\" stride=\"3\"")});
    EXPECT_EQ(ColladaCheck::problemIn(triangle("count=\"9\"", "count=\"9\" stride=\"1\"", "0 1 2", "X")), "");
    const std::string matrix = "<float_array id=\"m\" count=\"9\">1 0 0 0 1 0 0 0 1</float_array>"
                               "<accessor source=\"#m\" count=\"1\" stride=\"16\"><param type=\"float4x4\"/></accessor>";
    EXPECT_EQ(ColladaCheck::problemIn(matrix),
              "Collada check: an accessor reads past the end of 'm' (9 values) (line 1)");
    std::string withHugeCount = triangle("count=\"9\"", "count=\"3\" stride=\"3\"");
    withHugeCount.replace(withHugeCount.find("<triangles count=\"1\""), 20, "<triangles count=\"4000000000\"");
    EXPECT_EQ(ColladaCheck::problemIn(withHugeCount),
              "Collada check: count 4000000000 in <triangles> is larger than the file (line 6)");
}

TEST(ColladaCheck, IndexListsHoldOnlyWholeNumbers)
{
    EXPECT_EQ(ColladaCheck::problemIn(triangle("count=\"9\"", "count=\"3\" stride=\"3\"", "0 1 2x")),
              "Collada check: <p> holds something other than whole numbers (line 6)");
    expectEachRefused({triangle("count=\"9\"", "count=\"3\" stride=\"3\"", "0 1 2.5"),
                       triangle("count=\"9\"", "count=\"3\" stride=\"3\"", "0 1 &#50;"), "<v>1 2 x</v>",
                       "<vcount>3 3 a</vcount>"});
    EXPECT_EQ(ColladaCheck::problemIn(triangle("count=\"9\"", "count=\"3\" stride=\"3\"", "0 1 <!-- 2 -->2")),
              "Collada check: <p> holds more than numbers (line 6)");
    // A <vcount> promising more indices than the file could spell.
    EXPECT_EQ(ColladaCheck::problemIn("<polylist count=\"2\"><vcount>3 999999</vcount></polylist>"),
              "Collada check: <vcount> adds up to more than the file could hold (line 1)");
}

TEST(ColladaCheck, ArraysAndAccessorsHaveIdsOfTheirOwn)
{
    const std::string accessor = "<accessor source=\"#a\" count=\"1\"><param name=\"X\"/></accessor>";
    const std::string array = "<float_array id=\"a\" count=\"1\">0</float_array>";
    EXPECT_EQ(ColladaCheck::problemIn("<source id=\"p\">" + array + accessor + "</source>"), "");
    EXPECT_EQ(ColladaCheck::problemIn(array + "\n" + array), "Collada check: a second array with the id 'a' (line 2)");
    EXPECT_EQ(ColladaCheck::problemIn(array + "<source id=\"p\">" + accessor + "</source>\n<source id=\"p\">" +
                                      accessor + "</source>"),
              "Collada check: a second accessor for the source id 'p' (line 2)");
    // A sampler's <source> names a surface and holds no accessor.
    EXPECT_EQ(ColladaCheck::problemIn("<sampler2D><source>s</source></sampler2D><sampler2D><source>t</source></sampler2D>"),
              "");
}

TEST(ColladaCheck, PrimitiveListsHoldAsManyPrimitivesAsTheyCount)
{
    const std::string oneTriangle = triangle("count=\"9\"", "count=\"3\" stride=\"3\"");
    std::string twoLists = oneTriangle;
    twoLists.insert(twoLists.find("</triangles>"), "<p>0 1 2</p>");
    EXPECT_EQ(ColladaCheck::problemIn(twoLists), "Collada check: <triangles> of count 1 holds 2 <p> lists (line 6)");
    std::string noList = oneTriangle;
    noList.replace(noList.find("<p>0 1 2</p>"), 12, "");
    EXPECT_EQ(ColladaCheck::problemIn(noList), "Collada check: <triangles> of count 1 holds 0 <p> lists (line 6)");
    EXPECT_NE(ColladaCheck::problemIn("<polylist count=\"2\"/>"), "");
    // A count of none may come with any number of lists, as exporters write it.
    EXPECT_EQ(ColladaCheck::problemIn("<triangles count=\"0\"><p></p><p></p></triangles>"), "");
    // Polygons: one <p> (or <ph><p>) for each polygon counted.
    EXPECT_EQ(ColladaCheck::problemIn("<polygons count=\"2\"><p>0 1 2</p><ph><p>0 1 2 3</p><h>1</h></ph></polygons>"),
              "");
    EXPECT_NE(ColladaCheck::problemIn("<polygons count=\"2\"><p>0 1 2</p></polygons>"), "");
    // Lines and strips are counted loosely by Assimp and left alone.
    EXPECT_EQ(ColladaCheck::problemIn("<lines count=\"3\"><p>0 1</p></lines><tristrips count=\"1\"/>"), "");
}

TEST(ColladaCheck, WhatTheScanCannotFollowIsRefused)
{
    EXPECT_EQ(ColladaCheck::problemIn(std::string("<COLLADA>") + '\0' + "<p>x</p></COLLADA>"),
              "Collada check: a NUL character, so not a UTF-8 text (line 1)");
    expectEachRefused({"<!DOCTYPE c [<!ENTITY n \"9\">]><COLLADA/>", "<COLLADA><!-- open comment",
                       "<COLLADA version=1.4.1>", "<accessor source=\"#a&amp;b\" count=\"1\"/>"});
}

TEST(ColladaCheck, OnlyDaeNamesInAnyCaseAreCollada)
{
    EXPECT_TRUE(ColladaCheck::isColladaPath("../brimbolt/models/tyre.DAE"));
    EXPECT_TRUE(ColladaCheck::isColladaPath("wheel.dae"));
    EXPECT_TRUE(ColladaCheck::isColladaPath("wheel.Dae"));
    EXPECT_FALSE(ColladaCheck::isColladaPath("car3.obj"));
    EXPECT_FALSE(ColladaCheck::isColladaPath("dae"));
    EXPECT_FALSE(ColladaCheck::isColladaPath("wheel.dae.obj"));
}

// A library must start with "newmtl" (after comments and white space) and
// hold at least eight bytes; after the first newmtl anything goes.
TEST(MaterialLibraryCheck, LibrariesStartingWithNewmtlPassAndOthersAreRefused)
{
    EXPECT_EQ(MaterialLibraryCheck::problemIn(""), "");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("newmtl red\nKd 1 0 0\n"), "");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("# made by hand\r\n\r\n\t  newmtl red\r\nKd 1 0 0\r\n"), "");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("\xEF\xBB\xBFnewmtl red\nKd 1 0 0\n"), "");
    // After the first newmtl anything goes: that is Assimp's to read.
    EXPECT_EQ(MaterialLibraryCheck::problemIn("newmtl a\nKd x\n????\n"), "");

    EXPECT_EQ(MaterialLibraryCheck::problemIn("Kd 1 0 0\nnewmtl red\n"), "\"Kd\" before the first newmtl");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("# colours\n  map_Kd wood.jpg\n"),
              "\"map_Kd\" before the first newmtl");
    // Assimp ends lines at a NUL and a form feed too.
    EXPECT_EQ(MaterialLibraryCheck::problemIn(std::string("# a\0Ns 10\nnewmtl b\n", 20)),
              "\"Ns\" before the first newmtl");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("# a\fbump x.png\nnewmtl b\n"), "\"bump\" before the first newmtl");
    // A UTF-16 library starts with its byte order mark.
    EXPECT_NE(MaterialLibraryCheck::problemIn(std::string("\xFF\xFEn\0e\0w\0m\0t\0l\0", 14)), "");

    EXPECT_EQ(MaterialLibraryCheck::problemIn("\n"), "shorter than 8 bytes");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("# 12345"), "shorter than 8 bytes");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("newmtl\n"), "shorter than 8 bytes");
    EXPECT_EQ(MaterialLibraryCheck::problemIn("newmtl a"), "");
}
