#include "assets/AssetTestSupport.h"
#include "assets/TextureManager.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace assettest;

namespace {

TextureManager* manager()
{
    return TextureManager::getInstance();
}

GLint internalFormat(const std::string& name)
{
    return levelParameter(manager()->textureId(name), GL_TEXTURE_INTERNAL_FORMAT);
}

bool isDepthFormat(GLint format)
{
    return format == GL_DEPTH_COMPONENT || format == GL_DEPTH_COMPONENT16 || format == GL_DEPTH_COMPONENT24 ||
           format == GL_DEPTH_COMPONENT32 || format == GL_DEPTH_COMPONENT32F;
}

void expectTexel(const std::vector<BYTE>& texels, int width, int x, int y, Colour expected, int tolerance = 0)
{
    const BYTE* texel = &texels[static_cast<size_t>((y * width + x) * 4)];
    SCOPED_TRACE(testing::Message() << "texel " << x << "," << y);
    EXPECT_NEAR(texel[0], expected.red, tolerance);
    EXPECT_NEAR(texel[1], expected.green, tolerance);
    EXPECT_NEAR(texel[2], expected.blue, tolerance);
    EXPECT_NEAR(texel[3], expected.alpha, tolerance);
}

} // namespace

TEST(TextureLoad, PngKeepsChannelOrderRowsAndAlpha)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    // Five texels a row: the 24-bit rows end in a byte of padding.
    for (bool alpha : {true, false}) {
        SCOPED_TRACE(alpha ? "RGBA" : "RGB");
        const std::string name = alpha ? "rgba.png" : "rgb.png";
        ASSERT_TRUE(folder.save(makeImage(5, 3, alpha ? 32 : 24), FIF_PNG, name));
        ASSERT_TRUE(manager()->loadTexture(name, alpha));
        const GLint format = internalFormat(name);
        EXPECT_TRUE(alpha ? format == GL_RGBA || format == GL_RGBA8 : format == GL_RGB || format == GL_RGB8);
        const std::vector<BYTE> texels = readRgba(manager()->textureId(name), 5, 3);
        for (unsigned y = 0; y < 3; ++y) {
            for (unsigned x = 0; x < 5; ++x) {
                Colour expected = patternColour(x, y);
                expected.alpha = alpha ? expected.alpha : 255;
                expectTexel(texels, 5, static_cast<int>(x), static_cast<int>(y), expected);
            }
        }
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(TextureLoad, JpegLoadsAsRgbOrAsDepthWhenGrey)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    const Colour brick{200, 90, 30, 255};
    ASSERT_TRUE(folder.save(makeSolidImage(16, 16, brick), FIF_JPEG, "brick.jpg"));
    ASSERT_TRUE(folder.save(makeGreyImage(8, 8, 128), FIF_JPEG, "height.jpg"));

    ASSERT_TRUE(manager()->loadTexture("brick.jpg", false));
    EXPECT_TRUE(internalFormat("brick.jpg") == GL_RGB || internalFormat("brick.jpg") == GL_RGB8);
    expectTexel(readRgba(manager()->textureId("brick.jpg"), 16, 16), 16, 8, 8, brick, 6);

    ASSERT_TRUE(manager()->loadTexture("height.jpg", false));
    EXPECT_TRUE(isDepthFormat(internalFormat("height.jpg")));
    EXPECT_NEAR(readDepth(manager()->textureId("height.jpg"), 8, 8)[4 * 8 + 4], 128.0f / 255.0f, 0.03f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Pixels that do not fit the chosen upload are converted at load, so the
// texture shows what the file shows.
TEST(TextureLoad, OtherPixelLayoutsAreConverted)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    FIBITMAP* palette = FreeImage_Allocate(2, 1, 8);
    FreeImage_GetPalette(palette)[1] = RGBQUAD{200, 100, 0, 0}; // blue, green, red, reserved
    FreeImage_GetScanLine(palette, 0)[0] = 1;
    FIBITMAP* deepColour = FreeImage_AllocateT(FIT_RGB16, 2, 1);
    reinterpret_cast<FIRGB16*>(FreeImage_GetScanLine(deepColour, 0))[0] = FIRGB16{0xffff, 0x8000, 0x0000};
    const Colour pattern = patternColour(0, 0);
    const Colour opaquePattern{pattern.red, pattern.green, pattern.blue, 255};
    struct ColourCase {
        const char* name;
        FIBITMAP* image;
        bool hasAlpha;
        Colour first;
    };
    for (const ColourCase& test : {ColourCase{"opaque.png", makeImage(2, 1, 24), true, opaquePattern},
                                   ColourCase{"dropped.png", makeImage(2, 1, 32), false, opaquePattern},
                                   ColourCase{"palette.png", palette, false, {0, 100, 200, 255}},
                                   ColourCase{"deepColour.png", deepColour, false, {255, 128, 0, 255}}}) {
        SCOPED_TRACE(test.name);
        ASSERT_TRUE(folder.save(test.image, FIF_PNG, test.name));
        ASSERT_TRUE(manager()->loadTexture(test.name, test.hasAlpha));
        expectTexel(readRgba(manager()->textureId(test.name), 2, 1), 2, 0, 0, test.first);
    }

    // 16-bit grey, and a 1-bit palette whose index 0 is white (a negative if
    // uploaded raw), become depth textures: four texels one way, four the other.
    FIBITMAP* deepGrey = FreeImage_AllocateT(FIT_UINT16, 8, 1);
    auto* ramp = reinterpret_cast<unsigned short*>(FreeImage_GetScanLine(deepGrey, 0));
    for (int x = 0; x < 8; ++x) {
        ramp[x] = x < 4 ? 0 : 0xffff;
    }
    FIBITMAP* whiteFirst = FreeImage_Allocate(8, 1, 1);
    FreeImage_GetPalette(whiteFirst)[0] = RGBQUAD{255, 255, 255, 0};
    FreeImage_GetPalette(whiteFirst)[1] = RGBQUAD{0, 0, 0, 0};
    FreeImage_GetScanLine(whiteFirst, 0)[0] = 0x0f;
    struct DepthCase {
        const char* name;
        FIBITMAP* image;
        float first;
    };
    for (const DepthCase& test :
         {DepthCase{"deepGrey.png", deepGrey, 0.0f}, DepthCase{"whiteFirst.png", whiteFirst, 1.0f}}) {
        SCOPED_TRACE(test.name);
        ASSERT_TRUE(folder.save(test.image, FIF_PNG, test.name));
        ASSERT_TRUE(manager()->loadTexture(test.name, false));
        EXPECT_TRUE(isDepthFormat(internalFormat(test.name)));
        const std::vector<float> depth = readDepth(manager()->textureId(test.name), 8, 1);
        EXPECT_NEAR(depth[0], test.first, 0.01f);
        EXPECT_NEAR(depth[7], 1.0f - test.first, 0.01f);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(TextureLoad, NameDecidesTheFileTypeAndExtension)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    const Colour grass{40, 160, 60, 255};
    ASSERT_TRUE(folder.save(makeSolidImage(8, 8, grass), FIF_PNG, "pngBytes.JPG"));
    ASSERT_TRUE(folder.save(makeSolidImage(8, 8, grass), FIF_JPEG, "jpegBytes.JPG"));
    ASSERT_TRUE(folder.save(makeSolidImage(8, 8, grass), FIF_JPEG, "two.dots.jpg"));
    ASSERT_TRUE(folder.save(makeImage(4, 2, 32), FIF_PNG, "smokePuff.png"));

    // Only a lower-case ".jpg" is read as JPEG.
    EXPECT_TRUE(manager()->loadTexture("pngBytes.JPG", false));
    EXPECT_FALSE(manager()->loadTexture("jpegBytes.JPG", false));
    EXPECT_EQ(manager()->textureId("jpegBytes.JPG"), 0u);
    EXPECT_TRUE(manager()->loadTexture("two.dots.jpg", false));

    // A name without a dot reads "<name>.png" and is cached under the name as given.
    ASSERT_TRUE(manager()->loadTexture("smokePuff", true));
    expectTexel(readRgba(manager()->textureId("smokePuff"), 4, 2), 4, 3, 1, patternColour(3, 1));
    EXPECT_EQ(manager()->textureId("smokePuff.png"), 0u);
}

TEST(TextureLoad, CorruptFilesFailWithoutCrashing)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    std::srand(7);
    std::string noise;
    for (int i = 0; i < 4096; ++i) {
        noise += static_cast<char>(std::rand() & 0xff);
    }
    folder.write("noise.png", noise);
    folder.write("noise.jpg", noise);
    folder.write("empty.png", "");
    // A real signature followed by garbage gets past the format check.
    folder.write("badBody.png", std::string("\x89PNG\r\n\x1a\n", 8) + noise);
    for (const char* name : {"noise.png", "noise.jpg", "empty.png", "badBody.png"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(manager()->loadTexture(name, false));
        EXPECT_EQ(manager()->textureId(name), 0u);
    }

    // A JPEG decoder may make a picture of whatever it could read; it must not crash.
    folder.write("badBody.jpg", std::string("\xff\xd8\xff\xe0", 4) + noise);
    ASSERT_TRUE(folder.save(makeImage(64, 64, 24), FIF_PNG, "whole.png"));
    ASSERT_TRUE(folder.save(makeImage(64, 64, 24), FIF_JPEG, "whole.jpg"));
    for (const char* name : {"whole.png", "whole.jpg"}) {
        std::ifstream in(folder.path(name), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        folder.write(std::string("cut_") + name, bytes.substr(0, bytes.size() / 2));
    }
    for (const char* name : {"badBody.jpg", "cut_whole.png", "cut_whole.jpg"}) {
        SCOPED_TRACE(name);
        const bool loaded = manager()->loadTexture(name, false);
        EXPECT_EQ(loaded, manager()->textureId(name) != 0u);
    }
}
