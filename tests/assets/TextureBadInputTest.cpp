#include "assets/AssetTestSupport.h"
#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

using namespace assettest;

namespace {

TextureManager* manager()
{
    return TextureManager::getInstance();
}

// A 1-bit picture: a 16384-pixel square of it is only 32 MB to write, but
// 768 MB once converted for the GL.
bool saveBlankBitmap(const AssetFolder& folder, unsigned width, unsigned height, const std::string& name)
{
    FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 1);
    return image && folder.save(image, FIF_PNG, name);
}

} // namespace

// The size of a picture: one texel is a texture like any other; past the
// largest side the header alone refuses it, in one line naming the file and
// its size, before any pixel is decoded.
TEST(TextureBadInput, TinyPicturesLoadAndHugeOnesAreRefusedInOneLine)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    ASSERT_TRUE(folder.save(makeSolidImage(1, 1, {200, 100, 50, 255}), FIF_PNG, "dot.png"));
    std::string printed = printedBy([] { EXPECT_TRUE(manager()->loadTexture("dot.png", false)); });
    EXPECT_EQ(printed, "");
    const std::vector<BYTE> texel = readRgba(manager()->textureId("dot.png"), 1, 1);
    EXPECT_EQ(std::vector<BYTE>(texel.begin(), texel.begin() + 3), (std::vector<BYTE>{200, 100, 50}));

    const unsigned largest = TextureManager::largestTextureSide;
    ASSERT_TRUE(saveBlankBitmap(folder, largest, 1, "widest.png"));
    printed = printedBy([] { EXPECT_TRUE(manager()->loadTexture("widest.png", false)); });
    EXPECT_EQ(printed, "");

    ASSERT_TRUE(saveBlankBitmap(folder, 16384, 16384, "huge.png"));
    ASSERT_TRUE(saveBlankBitmap(folder, 1, largest + 1, "tall.png"));
    for (const auto& [name, size] : {std::pair{"huge.png", "16384 x 16384"}, std::pair{"tall.png", "1 x 8193"}}) {
        SCOPED_TRACE(name);
        printed = printedBy([name = name] { EXPECT_FALSE(manager()->loadTexture(name, false)); });
        EXPECT_EQ(printed, "Texture file '" + folder.path(name) + "' is " + size +
                               " pixels, more than the 8192 a side a texture may have; not loaded.\n");
        EXPECT_EQ(manager()->textureId(name), 0u);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A JPEG cut short decodes grey below the cut: it is used, with one line
// naming the file and what the decoder said. A PNG cut short is unreadable.
TEST(TextureBadInput, CutPicturesAreUsedWithOneLineOrFail)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    ASSERT_TRUE(folder.save(makeImage(64, 64, 24), FIF_JPEG, "whole.jpg"));
    ASSERT_TRUE(folder.save(makeImage(64, 64, 24), FIF_PNG, "whole.png"));
    for (const char* name : {"whole.jpg", "whole.png"}) {
        std::ifstream in(folder.path(name), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        folder.write(std::string("cut_") + name, bytes.substr(0, bytes.size() * 6 / 10));
    }
    std::string printed = printedBy([] { EXPECT_TRUE(manager()->loadTexture("whole.jpg", false)); });
    EXPECT_EQ(printed, "");

    printed = printedBy([] { EXPECT_TRUE(manager()->loadTexture("cut_whole.jpg", false)); });
    EXPECT_EQ(printed.rfind("Texture file '" + folder.path("cut_whole.jpg") + "': ", 0), 0u) << printed;
    EXPECT_NE(printed.find("; drawn as read.\n"), std::string::npos) << printed;
    EXPECT_EQ(lineCount(printed), 1) << printed;
    EXPECT_NE(manager()->textureId("cut_whole.jpg"), 0u);

    // Unreadable: the manager says nothing, as for a missing file; its caller reports.
    printed = printedBy([] { EXPECT_FALSE(manager()->loadTexture("cut_whole.png", false)); });
    EXPECT_EQ(printed, "");
}

// A PNG named .jpg, text named .png, an empty file and a missing one: the
// manager fails silently; a model's material reports and falls back to
// white, every other caller reports through loadTextureOrReport.
TEST(TextureBadInput, WrongFormatsFailAndTheirCallerSaysSo)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    ASSERT_TRUE(folder.texture("white.png"));
    ASSERT_TRUE(folder.save(makeImage(8, 8, 24), FIF_PNG, "renamed.jpg"));
    folder.write("letter.png", "Dear reader, this is no picture.\n");
    folder.write("empty.png", "");
    for (const char* name : {"renamed.jpg", "letter.png", "empty.png", "absent.png"}) {
        SCOPED_TRACE(name);
        std::string printed = printedBy([name] { EXPECT_FALSE(manager()->loadTexture(name, false)); });
        EXPECT_EQ(printed, "");
        printed = printedBy([name] { EXPECT_FALSE(manager()->loadTextureOrReport(name, false)); });
        EXPECT_EQ(printed, std::string("Error loading texture '") + name + "'\n");
    }
    std::string printed = printedBy([] { EXPECT_TRUE(manager()->loadTextureOrReport("white.png", false)); });
    EXPECT_EQ(printed, "");

    folder.write("wrong.mtl", "newmtl paper\nKd 1 1 1\nmap_Kd renamed.jpg\n");
    Mesh mesh;
    printed = printedBy([&] {
        EXPECT_TRUE(mesh.loadMesh(folder.write("wrong.obj", "mtllib wrong.mtl\nusemtl paper\n"
                                                            "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"),
                                  false));
    });
    EXPECT_EQ(printed, "Error loading texture 'renamed.jpg'\n");
    ASSERT_EQ(mesh.entries.size(), 1u);
    ASSERT_LT(mesh.entries[0].materialIndex, mesh.materialTextures.size());
    EXPECT_EQ(mesh.materialTextures[mesh.entries[0].materialIndex]->name, "white.png");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
