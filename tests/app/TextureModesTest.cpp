#include "assets/TextureManager.h"

#include <gtest/gtest.h>

TEST(TextureModes, FilterTableForEveryModePair)
{
    using TM = TextureManager;
    EXPECT_EQ(TM::minificationFilter(TM::mipmapOff, TM::samplingNearest), GLenum(GL_NEAREST));
    EXPECT_EQ(TM::minificationFilter(TM::mipmapOff, TM::samplingLinear), GLenum(GL_LINEAR));
    EXPECT_EQ(TM::minificationFilter(TM::mipmapNearest, TM::samplingNearest), GLenum(GL_NEAREST_MIPMAP_NEAREST));
    EXPECT_EQ(TM::minificationFilter(TM::mipmapNearest, TM::samplingLinear), GLenum(GL_LINEAR_MIPMAP_NEAREST));
    EXPECT_EQ(TM::minificationFilter(TM::mipmapLinear, TM::samplingNearest), GLenum(GL_NEAREST_MIPMAP_LINEAR));
    EXPECT_EQ(TM::minificationFilter(TM::mipmapLinear, TM::samplingLinear), GLenum(GL_LINEAR_MIPMAP_LINEAR));
    EXPECT_EQ(TM::magnificationFilter(TM::samplingNearest), GLenum(GL_NEAREST));
    EXPECT_EQ(TM::magnificationFilter(TM::samplingLinear), GLenum(GL_LINEAR));
}

TEST(TextureModes, ModeChangesSetTheFiltersForLaterTextures)
{
    // Runs without a GL context: the cache is empty, so no texture is touched.
    TextureManager* manager = TextureManager::getInstance();
    EXPECT_EQ(manager->getMipmapMode(), TextureManager::mipmapLinear);
    EXPECT_EQ(manager->getSamplingMode(), TextureManager::samplingLinear);
    EXPECT_EQ(manager->getMinFilter(), GLenum(GL_LINEAR_MIPMAP_LINEAR));

    manager->setMipmapping(TextureManager::mipmapOff);
    EXPECT_EQ(manager->getMinFilter(), GLenum(GL_LINEAR));
    EXPECT_EQ(manager->getMagFilter(), GLenum(GL_LINEAR));
    manager->setSampling(TextureManager::samplingNearest);
    EXPECT_EQ(manager->getMinFilter(), GLenum(GL_NEAREST));
    EXPECT_EQ(manager->getMagFilter(), GLenum(GL_NEAREST));
    manager->setMipmapping(TextureManager::mipmapLinear);
    EXPECT_EQ(manager->getMinFilter(), GLenum(GL_NEAREST_MIPMAP_LINEAR));
    EXPECT_EQ(manager->getMagFilter(), GLenum(GL_NEAREST));
    manager->setSampling(TextureManager::samplingLinear);
    EXPECT_EQ(manager->getMinFilter(), GLenum(GL_LINEAR_MIPMAP_LINEAR));

    // An unknown name is entered with id 0 and deleting it does nothing.
    EXPECT_EQ(manager->textureId("never-loaded"), 0u);
    EXPECT_FALSE(manager->deleteTexture("never-loaded"));
    EXPECT_FALSE(manager->bindTexture("never-loaded"));
}
