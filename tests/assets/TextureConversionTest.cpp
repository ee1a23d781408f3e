#include "assets/TestImages.h"
#include "assets/TextureManager.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <vector>

using testimages::Colour;
using testimages::TextureFolder;

// Images whose pixels do not fit the chosen upload are converted at load, so
// the texture shows what the file shows.
namespace {
void expectTexel(const std::vector<BYTE>& texels, int width, int x, int y, Colour expected)
{
    const BYTE* texel = &texels[static_cast<size_t>((y * width + x) * 4)];
    SCOPED_TRACE(testing::Message() << "texel " << x << "," << y);
    EXPECT_EQ(texel[0], expected.red);
    EXPECT_EQ(texel[1], expected.green);
    EXPECT_EQ(texel[2], expected.blue);
    EXPECT_EQ(texel[3], expected.alpha);
}

GLint internalFormat(const std::string& name)
{
    return testimages::levelParameter(TextureManager::getInstance()->textureId(name), GL_TEXTURE_INTERNAL_FORMAT);
}
} // namespace

TEST(TextureConversion, ThirtyTwoBitImageLoadedWithoutAlphaDropsIt)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    ASSERT_TRUE(folder.save(testimages::makePatternImage(3, 2, 32), FIF_PNG, "wideRgba.png"));
    TextureManager* manager = TextureManager::getInstance();

    ASSERT_TRUE(manager->loadTexture("wideRgba.png", false));
    EXPECT_TRUE(internalFormat("wideRgba.png") == GL_RGB || internalFormat("wideRgba.png") == GL_RGB8);
    std::vector<BYTE> texels = testimages::readRgba(manager->textureId("wideRgba.png"), 3, 2);
    Colour expected = testimages::patternColour(2, 1);
    expected.alpha = 255;
    expectTexel(texels, 3, 2, 1, expected);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(TextureConversion, TwentyFourBitImageLoadedWithAlphaIsOpaque)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    ASSERT_TRUE(folder.save(testimages::makePatternImage(3, 2, 24), FIF_PNG, "narrowRgb.png"));
    TextureManager* manager = TextureManager::getInstance();

    ASSERT_TRUE(manager->loadTexture("narrowRgb.png", true));
    EXPECT_TRUE(internalFormat("narrowRgb.png") == GL_RGBA || internalFormat("narrowRgb.png") == GL_RGBA8);
    std::vector<BYTE> texels = testimages::readRgba(manager->textureId("narrowRgb.png"), 3, 2);
    Colour expected = testimages::patternColour(1, 1);
    expected.alpha = 255;
    expectTexel(texels, 3, 1, 1, expected);
}

TEST(TextureConversion, PaletteImageGetsItsColours)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    FIBITMAP* image = FreeImage_Allocate(3, 1, 8);
    RGBQUAD* palette = FreeImage_GetPalette(image);
    palette[0] = RGBQUAD{10, 20, 250, 0}; // blue, green, red, reserved
    palette[1] = RGBQUAD{200, 100, 0, 0};
    BYTE* row = FreeImage_GetScanLine(image, 0);
    row[0] = 1;
    row[1] = 0;
    row[2] = 1;
    ASSERT_TRUE(folder.save(image, FIF_PNG, "palette.png"));
    TextureManager* manager = TextureManager::getInstance();

    ASSERT_TRUE(manager->loadTexture("palette.png", false));
    std::vector<BYTE> texels = testimages::readRgba(manager->textureId("palette.png"), 3, 1);
    expectTexel(texels, 3, 0, 0, Colour{0, 100, 200, 255});
    expectTexel(texels, 3, 1, 0, Colour{250, 20, 10, 255});
}

TEST(TextureConversion, SixteenBitGreyLoadsAsDepth)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    FIBITMAP* image = FreeImage_AllocateT(FIT_UINT16, 4, 2);
    for (int y = 0; y < 2; ++y) {
        auto* row = reinterpret_cast<unsigned short*>(FreeImage_GetScanLine(image, y));
        for (int x = 0; x < 4; ++x) {
            row[x] = static_cast<unsigned short>(x * 0x5555);
        }
    }
    ASSERT_TRUE(folder.save(image, FIF_PNG, "deepGrey.png"));
    TextureManager* manager = TextureManager::getInstance();

    ASSERT_TRUE(manager->loadTexture("deepGrey.png", false));
    GLint format = internalFormat("deepGrey.png");
    EXPECT_TRUE(format == GL_DEPTH_COMPONENT || format == GL_DEPTH_COMPONENT16 || format == GL_DEPTH_COMPONENT24 ||
                format == GL_DEPTH_COMPONENT32 || format == GL_DEPTH_COMPONENT32F);
    std::vector<float> texels = testimages::readDepth(manager->textureId("deepGrey.png"), 4, 2);
    EXPECT_NEAR(texels[0], 0.0f, 0.01f);
    EXPECT_NEAR(texels[3], 1.0f, 0.01f);
}

TEST(TextureConversion, FortyEightBitColourLoadsAsRgb)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    FIBITMAP* image = FreeImage_AllocateT(FIT_RGB16, 2, 1);
    auto* row = reinterpret_cast<FIRGB16*>(FreeImage_GetScanLine(image, 0));
    row[0] = FIRGB16{0xffff, 0x8000, 0x0000};
    row[1] = FIRGB16{0x0000, 0x4000, 0xffff};
    ASSERT_TRUE(folder.save(image, FIF_PNG, "deepColour.png"));
    TextureManager* manager = TextureManager::getInstance();

    ASSERT_TRUE(manager->loadTexture("deepColour.png", false));
    std::vector<BYTE> texels = testimages::readRgba(manager->textureId("deepColour.png"), 2, 1);
    expectTexel(texels, 2, 0, 0, Colour{255, 128, 0, 255});
    expectTexel(texels, 2, 1, 0, Colour{0, 64, 255, 255});
}

TEST(TextureConversion, WhiteOnBlackPaletteIsNotInverted)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    // Index 0 is white here, so the raw indices would upload as a negative.
    FIBITMAP* image = FreeImage_Allocate(8, 1, 1);
    RGBQUAD* palette = FreeImage_GetPalette(image);
    palette[0] = RGBQUAD{255, 255, 255, 0};
    palette[1] = RGBQUAD{0, 0, 0, 0};
    FreeImage_GetScanLine(image, 0)[0] = 0x0f; // four white texels, then four black
    ASSERT_TRUE(folder.save(image, FIF_PNG, "inverted.png"));
    TextureManager* manager = TextureManager::getInstance();

    ASSERT_TRUE(manager->loadTexture("inverted.png", false));
    std::vector<float> texels = testimages::readDepth(manager->textureId("inverted.png"), 8, 1);
    EXPECT_NEAR(texels[0], 1.0f, 0.01f);
    EXPECT_NEAR(texels[7], 0.0f, 0.01f);
}
