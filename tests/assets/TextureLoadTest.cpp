#include "assets/TextureManager.h"

#include "support/AssetFiles.h"
#include "support/GLProgramTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace assettest;
using rendertest::readTexture;
using rendertest::textureParameter;

namespace {

TextureManager* manager()
{
    return TextureManager::getInstance();
}

GLint internalFormat(const std::string& name)
{
    return textureParameter(manager()->textureId(name), GL_TEXTURE_INTERNAL_FORMAT, 0);
}

void expectTexel(const std::vector<std::uint8_t>& texels, int width, int x, int y, Colour expected, int tolerance = 0)
{
    const std::uint8_t* texel = &texels[static_cast<size_t>((y * width + x) * 4)];
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
        const std::vector<std::uint8_t> texels = readTexture(manager()->textureId(name), 5, 3);
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
    const Colour opaquePattern{patternColour(0, 0).red, patternColour(0, 0).green, patternColour(0, 0).blue, 255};
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
        expectTexel(readTexture(manager()->textureId(test.name), 2, 1), 2, 0, 0, test.first);
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
    expectTexel(readTexture(manager()->textureId("smokePuff"), 4, 2), 4, 3, 1, patternColour(3, 1));
    EXPECT_EQ(manager()->textureId("smokePuff.png"), 0u);
}
