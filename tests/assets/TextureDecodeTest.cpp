// The reading half of TextureManager::loadTexture, which needs no GL context:
// what it hands to glTexImage2D for each kind of file.
#include "assets/AssetTestSupport.h"
#include "assets/TextureManager.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

using namespace assettest;

namespace {

TextureManager::DecodedImage decode(const std::string& name, bool hasAlpha)
{
    return TextureManager::getInstance()->decodeTexture(name, hasAlpha);
}

// The bytes of texel (x, y) as GL reads them: rows of 4-byte multiples.
const unsigned char* texel(const TextureManager::DecodedImage& decoded, int x, int y, int bytesPerTexel)
{
    const std::size_t rowBytes = (static_cast<std::size_t>(decoded.width * bytesPerTexel) + 3) / 4 * 4;
    return decoded.pixels + static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(x * bytesPerTexel);
}

} // namespace

TEST(TextureDecode, GivesSizeLayoutAndPixelsAsUploaded)
{
    AssetFolder folder;
    ASSERT_TRUE(folder.save(makeImage(5, 3, 24), FIF_PNG, "rgb.png"));
    const TextureManager::DecodedImage rgb = decode("rgb.png", false);
    ASSERT_NE(rgb.pixels, nullptr);
    EXPECT_EQ(rgb.width, 5);
    EXPECT_EQ(rgb.height, 3);
    EXPECT_EQ(rgb.internalFormat, GL_RGB);
    EXPECT_EQ(rgb.pixelFormat, GLenum(GL_BGR));
    // Bottom row first, blue first, and a padding byte at the end of each row.
    const Colour expected = patternColour(4, 2);
    const unsigned char* last = texel(rgb, 4, 2, 3);
    EXPECT_EQ(last[0], expected.blue);
    EXPECT_EQ(last[1], expected.green);
    EXPECT_EQ(last[2], expected.red);

    const TextureManager::DecodedImage rgba = decode("rgb.png", true);
    ASSERT_NE(rgba.pixels, nullptr);
    EXPECT_EQ(rgba.internalFormat, GL_RGBA);
    EXPECT_EQ(rgba.pixelFormat, GLenum(GL_BGRA));
    EXPECT_EQ(texel(rgba, 4, 2, 4)[3], 255);
}

TEST(TextureDecode, GreyBecomesDepthAndMissingOrBrokenFilesGiveNoPixels)
{
    AssetFolder folder;
    ASSERT_TRUE(folder.save(makeGreyImage(4, 4, 77), FIF_JPEG, "height.jpg"));
    const TextureManager::DecodedImage grey = decode("height.jpg", false);
    ASSERT_NE(grey.pixels, nullptr);
    EXPECT_EQ(grey.pixelFormat, GLenum(GL_DEPTH_COMPONENT));
    EXPECT_NEAR(texel(grey, 1, 1, 1)[0], 77, 2);

    EXPECT_EQ(decode("missing.png", false).pixels, nullptr);
    folder.write("broken.png", "\x89PNG\r\n\x1a\n not really");
    EXPECT_EQ(decode("broken.png", false).pixels, nullptr);
    // Decoding caches nothing: the name still has no texture.
    EXPECT_EQ(TextureManager::getInstance()->textureId("height.jpg"), 0u);
}
