#include "assets/TextureManager.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

// The file rules need no GL context and run everywhere.

TEST(TexturePath, ShortNamesGetThePngExtension)
{
    TextureManager* manager = TextureManager::getInstance();
    EXPECT_EQ(manager->getTextureDirectory(), "../brimbolt/textures/");
    EXPECT_EQ(manager->texturePath("smoke"), "../brimbolt/textures/smoke.png");
    EXPECT_EQ(manager->texturePath("brick09b.jpg"), "../brimbolt/textures/brick09b.jpg");
    EXPECT_EQ(manager->texturePath("white.png"), "../brimbolt/textures/white.png");
}

TEST(TexturePath, OnlyALowerCaseJpgExtensionReadsAsJpeg)
{
    EXPECT_TRUE(TextureManager::isJpegName("brick09b.jpg"));
    EXPECT_TRUE(TextureManager::isJpegName("wall.v2.jpg"));
    // The extension is cut to three letters before it is compared.
    EXPECT_TRUE(TextureManager::isJpegName("odd.jpgx"));
    EXPECT_FALSE(TextureManager::isJpegName("brick.JPG"));
    EXPECT_FALSE(TextureManager::isJpegName("photo.jpeg"));
    EXPECT_FALSE(TextureManager::isJpegName("photo.jpe"));
    EXPECT_FALSE(TextureManager::isJpegName("archive.jpg.png"));
    EXPECT_FALSE(TextureManager::isJpegName("smoke"));
    EXPECT_FALSE(TextureManager::isJpegName("trailing."));
}

TEST(TexturePath, MissingFileFailsBeforeAnyGLCall)
{
    ScratchDir empty("brimbolt_no_textures");
    TextureManager* manager = TextureManager::getInstance();
    manager->setTextureDirectory(empty.path().string() + "/");

    EXPECT_FALSE(manager->loadTexture("pathMissing", true));
    EXPECT_FALSE(manager->loadTexture("pathMissing.jpg", false));
    EXPECT_EQ(manager->textureId("pathMissing"), 0u);
    EXPECT_EQ(manager->textureId("pathMissing.jpg"), 0u);

    manager->setTextureDirectory("../brimbolt/textures/");
}
