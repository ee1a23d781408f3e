#include "assets/TestImages.h"
#include "assets/Texture.h"
#include "assets/TextureManager.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

using testimages::TextureFolder;

TEST(TextureCache, FailedLoadIsTriedAgainLater)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    TextureManager* manager = TextureManager::getInstance();

    EXPECT_FALSE(manager->loadTexture("cacheLate", false));
    EXPECT_EQ(manager->textureId("cacheLate"), 0u);
    EXPECT_FALSE(manager->bindTexture("cacheLate"));

    ASSERT_TRUE(folder.save(testimages::makePatternImage(4, 4, 24), FIF_PNG, "cacheLate.png"));
    EXPECT_TRUE(manager->loadTexture("cacheLate", false));
    GLuint texture = manager->textureId("cacheLate");
    EXPECT_NE(texture, 0u);
    EXPECT_TRUE(glIsTexture(texture));
    EXPECT_TRUE(manager->bindTexture("cacheLate"));
    EXPECT_EQ(testimages::boundTexture(), GLint(texture));
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST(TextureCache, CachedNameIsNotReadAgain)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    TextureManager* manager = TextureManager::getInstance();
    ASSERT_TRUE(folder.save(testimages::makePatternImage(4, 4, 24), FIF_PNG, "cacheOnce.png"));
    ASSERT_TRUE(manager->loadTexture("cacheOnce.png", false));
    GLuint texture = manager->textureId("cacheOnce.png");
    folder.remove("cacheOnce.png");

    // With the file gone, only the cache can answer; hasAlpha no longer matters.
    EXPECT_TRUE(manager->loadTexture("cacheOnce.png", true));
    EXPECT_EQ(manager->textureId("cacheOnce.png"), texture);
    GLint format = testimages::levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT);
    EXPECT_TRUE(format == GL_RGB || format == GL_RGB8);
}

TEST(TextureCache, DeletingKeepsTheNameAndReloadingMakesANewTexture)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    TextureManager* manager = TextureManager::getInstance();
    ASSERT_TRUE(folder.save(testimages::makePatternImage(4, 4, 24), FIF_PNG, "cacheFirst.png"));
    ASSERT_TRUE(folder.save(testimages::makePatternImage(4, 4, 32), FIF_PNG, "cacheSecond.png"));
    ASSERT_TRUE(manager->loadTexture("cacheFirst.png", false));
    ASSERT_TRUE(manager->loadTexture("cacheSecond.png", true));
    GLuint first = manager->textureId("cacheFirst.png");
    GLuint second = manager->textureId("cacheSecond.png");

    manager->deleteAllTextures();
    EXPECT_EQ(manager->textureId("cacheFirst.png"), 0u);
    EXPECT_EQ(manager->textureId("cacheSecond.png"), 0u);
    EXPECT_FALSE(glIsTexture(first));
    EXPECT_FALSE(glIsTexture(second));
    EXPECT_FALSE(manager->deleteTexture("cacheFirst.png"));
    EXPECT_FALSE(manager->bindTexture("cacheSecond.png"));

    ASSERT_TRUE(manager->loadTexture("cacheFirst.png", false));
    GLuint reloaded = manager->textureId("cacheFirst.png");
    EXPECT_NE(reloaded, 0u);
    EXPECT_TRUE(glIsTexture(reloaded));
    EXPECT_TRUE(manager->deleteTexture("cacheFirst.png"));
    EXPECT_FALSE(glIsTexture(reloaded));
    EXPECT_EQ(manager->textureId("cacheFirst.png"), 0u);
}

TEST(TextureCache, HandleBindsTheCachedTextureAndOwnsNothing)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    TextureManager* manager = TextureManager::getInstance();
    ASSERT_TRUE(folder.save(testimages::makePatternImage(4, 4, 24), FIF_PNG, "cacheHandle.png"));
    ASSERT_TRUE(manager->loadTexture("cacheHandle.png", false));
    GLuint texture = manager->textureId("cacheHandle.png");

    auto* handle = new Texture("cacheHandle.png");
    EXPECT_EQ(handle->name, "cacheHandle.png");
    EXPECT_EQ(handle->target, GLenum(GL_TEXTURE_2D));
    handle->bind();
    EXPECT_EQ(testimages::boundTexture(), GLint(texture));
    delete handle;
    EXPECT_TRUE(glIsTexture(texture));

    // Without a texture the earlier binding stays.
    Texture missing("cacheNoFile.png");
    missing.bind();
    EXPECT_EQ(testimages::boundTexture(), GLint(texture));
    glBindTexture(GL_TEXTURE_2D, 0);
}
