#include "assets/TestImages.h"
#include "assets/TextureManager.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using testimages::Colour;
using testimages::TextureFolder;

namespace {
bool isRgbaFormat(GLint format)
{
    return format == GL_RGBA || format == GL_RGBA8;
}

bool isRgbFormat(GLint format)
{
    return format == GL_RGB || format == GL_RGB8;
}

bool isDepthFormat(GLint format)
{
    return format == GL_DEPTH_COMPONENT || format == GL_DEPTH_COMPONENT16 || format == GL_DEPTH_COMPONENT24 ||
           format == GL_DEPTH_COMPONENT32 || format == GL_DEPTH_COMPONENT32F;
}

void expectPattern(GLuint texture, int width, int height, bool withAlpha)
{
    std::vector<BYTE> texels = testimages::readRgba(texture, width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Colour expected = testimages::patternColour(static_cast<unsigned>(x), static_cast<unsigned>(y));
            const BYTE* texel = &texels[static_cast<size_t>((y * width + x) * 4)];
            SCOPED_TRACE(testing::Message() << "texel " << x << "," << y);
            EXPECT_EQ(texel[0], expected.red);
            EXPECT_EQ(texel[1], expected.green);
            EXPECT_EQ(texel[2], expected.blue);
            EXPECT_EQ(texel[3], withAlpha ? expected.alpha : 255);
        }
    }
}

void expectNear(const BYTE* texel, Colour expected, int tolerance)
{
    EXPECT_NEAR(texel[0], expected.red, tolerance);
    EXPECT_NEAR(texel[1], expected.green, tolerance);
    EXPECT_NEAR(texel[2], expected.blue, tolerance);
}
} // namespace

TEST(TextureLoad, RgbaPngKeepsChannelOrderAndAlpha)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    ASSERT_TRUE(folder.save(testimages::makePatternImage(5, 3, 32), FIF_PNG, "rgbaPattern.png"));
    TextureManager* manager = TextureManager::getInstance();

    ASSERT_TRUE(manager->loadTexture("rgbaPattern.png", true));
    GLuint texture = manager->textureId("rgbaPattern.png");
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(testimages::boundTexture(), 0);
    EXPECT_TRUE(isRgbaFormat(testimages::levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT)));
    EXPECT_EQ(testimages::levelParameter(texture, GL_TEXTURE_WIDTH), 5);
    EXPECT_EQ(testimages::levelParameter(texture, GL_TEXTURE_HEIGHT), 3);
    expectPattern(texture, 5, 3, true);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(TextureLoad, RgbPngRowsKeepTheirPadding)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    // Five 3-byte texels leave one byte of padding at the end of each row.
    ASSERT_TRUE(folder.save(testimages::makePatternImage(5, 3, 24), FIF_PNG, "rgbPattern.png"));
    TextureManager* manager = TextureManager::getInstance();

    ASSERT_TRUE(manager->loadTexture("rgbPattern.png", false));
    GLuint texture = manager->textureId("rgbPattern.png");
    EXPECT_TRUE(isRgbFormat(testimages::levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT)));
    expectPattern(texture, 5, 3, false);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(TextureLoad, RgbJpegLoadsAsRgb)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    Colour brick{200, 90, 30, 255};
    ASSERT_TRUE(folder.save(testimages::makeSolidImage(16, 16, brick), FIF_JPEG, "brick.jpg"));
    TextureManager* manager = TextureManager::getInstance();

    ASSERT_TRUE(manager->loadTexture("brick.jpg", false));
    GLuint texture = manager->textureId("brick.jpg");
    EXPECT_TRUE(isRgbFormat(testimages::levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT)));
    std::vector<BYTE> texels = testimages::readRgba(texture, 16, 16);
    expectNear(&texels[(8 * 16 + 8) * 4], brick, 6);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(TextureLoad, GreyJpegLoadsAsDepth)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    ASSERT_TRUE(folder.save(testimages::makeGreyImage(8, 8, 128), FIF_JPEG, "height.jpg"));
    TextureManager* manager = TextureManager::getInstance();

    ASSERT_TRUE(manager->loadTexture("height.jpg", false));
    GLuint texture = manager->textureId("height.jpg");
    EXPECT_TRUE(isDepthFormat(testimages::levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT)));
    std::vector<float> texels = testimages::readDepth(texture, 8, 8);
    EXPECT_NEAR(texels[4 * 8 + 4], 128.0f / 255.0f, 0.03f);
}

TEST(TextureLoad, OnlyLowerCaseJpgIsReadAsJpeg)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    Colour grass{40, 160, 60, 255};
    ASSERT_TRUE(folder.save(testimages::makeSolidImage(8, 8, grass), FIF_PNG, "pngBytes.JPG"));
    ASSERT_TRUE(folder.save(testimages::makeSolidImage(8, 8, grass), FIF_JPEG, "jpegBytes.JPG"));
    ASSERT_TRUE(folder.save(testimages::makeSolidImage(8, 8, grass), FIF_PNG, "pngBytes.jpeg"));
    ASSERT_TRUE(folder.save(testimages::makeSolidImage(8, 8, grass), FIF_JPEG, "two.dots.jpg"));
    TextureManager* manager = TextureManager::getInstance();

    EXPECT_TRUE(manager->loadTexture("pngBytes.JPG", false));
    EXPECT_FALSE(manager->loadTexture("jpegBytes.JPG", false));
    EXPECT_EQ(manager->textureId("jpegBytes.JPG"), 0u);
    EXPECT_TRUE(manager->loadTexture("pngBytes.jpeg", false));
    EXPECT_TRUE(manager->loadTexture("two.dots.jpg", false));
}

TEST(TextureLoad, NameWithoutDotReadsPngFile)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    ASSERT_TRUE(folder.save(testimages::makePatternImage(4, 2, 32), FIF_PNG, "smokePuff.png"));
    TextureManager* manager = TextureManager::getInstance();

    ASSERT_TRUE(manager->loadTexture("smokePuff", true));
    expectPattern(manager->textureId("smokePuff"), 4, 2, true);
    // The cache key is the name as given, not the file name.
    EXPECT_EQ(manager->textureId("smokePuff.png"), 0u);
}

TEST(TextureLoad, CorruptFilesFailWithoutCrashing)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    std::srand(7);
    std::string noise;
    for (int i = 0; i < 4096; ++i) {
        noise += static_cast<char>(std::rand() & 0xff);
    }
    folder.writeBytes("noise.png", noise);
    folder.writeBytes("noise.jpg", noise);
    folder.writeBytes("empty.png", "");
    // A real signature followed by garbage gets past the format check.
    folder.writeBytes("badBody.png", std::string("\x89PNG\r\n\x1a\n", 8) + noise);
    folder.writeBytes("badBody.jpg", std::string("\xff\xd8\xff\xe0", 4) + noise);
    TextureManager* manager = TextureManager::getInstance();

    for (const char* name : {"noise.png", "noise.jpg", "empty.png", "badBody.png"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(manager->loadTexture(name, false));
        EXPECT_EQ(manager->textureId(name), 0u);
        EXPECT_FALSE(manager->bindTexture(name));
    }
    // A JPEG decoder may make a picture of whatever it could read; it must not crash.
    bool loaded = manager->loadTexture("badBody.jpg", false);
    EXPECT_EQ(loaded, manager->textureId("badBody.jpg") != 0u);
}

TEST(TextureLoad, TruncatedFilesDoNotCrash)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    ASSERT_TRUE(folder.save(testimages::makePatternImage(64, 64, 24), FIF_PNG, "whole.png"));
    ASSERT_TRUE(folder.save(testimages::makePatternImage(64, 64, 24), FIF_JPEG, "whole.jpg"));
    for (const char* name : {"whole.png", "whole.jpg"}) {
        std::string bytes;
        {
            std::ifstream in(folder.file(name), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        folder.writeBytes(std::string("cut_") + name, bytes.substr(0, bytes.size() / 2));
    }
    TextureManager* manager = TextureManager::getInstance();

    for (const char* name : {"cut_whole.png", "cut_whole.jpg"}) {
        SCOPED_TRACE(name);
        bool loaded = manager->loadTexture(name, false);
        EXPECT_EQ(loaded, manager->textureId(name) != 0u);
    }
}
