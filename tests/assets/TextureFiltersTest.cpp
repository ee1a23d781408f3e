#include "assets/TestImages.h"
#include "assets/TextureManager.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testimages::TextureFolder;

namespace {
const std::vector<std::string> filterTextures = {"filterColour.png", "filterAlpha", "filterGrey.jpg"};

// The F4 and F5 developer keys, stepping the modes the way the keys do.
void pressSamplingKey()
{
    TextureManager* manager = TextureManager::getInstance();
    manager->setSampling(manager->getSamplingMode() == TextureManager::samplingLinear
                             ? TextureManager::samplingNearest
                             : TextureManager::samplingLinear);
}

void pressMipmapKey()
{
    TextureManager* manager = TextureManager::getInstance();
    switch (manager->getMipmapMode()) {
    case TextureManager::mipmapOff:
        manager->setMipmapping(TextureManager::mipmapNearest);
        break;
    case TextureManager::mipmapNearest:
        manager->setMipmapping(TextureManager::mipmapLinear);
        break;
    default:
        manager->setMipmapping(TextureManager::mipmapOff);
        break;
    }
}

void expectEveryTextureFiltered(GLenum minification, GLenum magnification)
{
    TextureManager* manager = TextureManager::getInstance();
    EXPECT_EQ(manager->getMinFilter(), minification);
    EXPECT_EQ(manager->getMagFilter(), magnification);
    for (const std::string& name : filterTextures) {
        SCOPED_TRACE(name);
        GLuint texture = manager->textureId(name);
        ASSERT_NE(texture, 0u);
        EXPECT_EQ(testimages::textureParameter(texture, GL_TEXTURE_MIN_FILTER), GLint(minification));
        EXPECT_EQ(testimages::textureParameter(texture, GL_TEXTURE_MAG_FILTER), GLint(magnification));
    }
}

void expectFiltersMatchTable()
{
    TextureManager* manager = TextureManager::getInstance();
    SCOPED_TRACE(testing::Message() << "mipmap " << manager->getMipmapMode() << ", sampling "
                                    << manager->getSamplingMode());
    expectEveryTextureFiltered(
        TextureManager::minificationFilter(manager->getMipmapMode(), manager->getSamplingMode()),
        TextureManager::magnificationFilter(manager->getSamplingMode()));
    EXPECT_EQ(testimages::boundTexture(), 0);
}
} // namespace

TEST(TextureFilters, DeveloperKeysRefilterEveryCachedTexture)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    TextureManager* manager = TextureManager::getInstance();
    manager->setSampling(TextureManager::samplingLinear);
    manager->setMipmapping(TextureManager::mipmapLinear);
    ASSERT_TRUE(folder.save(testimages::makePatternImage(8, 8, 24), FIF_PNG, "filterColour.png"));
    ASSERT_TRUE(folder.save(testimages::makePatternImage(8, 8, 32), FIF_PNG, "filterAlpha.png"));
    ASSERT_TRUE(folder.save(testimages::makeGreyImage(8, 8, 90), FIF_JPEG, "filterGrey.jpg"));
    ASSERT_TRUE(manager->loadTexture("filterColour.png", false));
    ASSERT_TRUE(manager->loadTexture("filterAlpha", true));
    ASSERT_TRUE(manager->loadTexture("filterGrey.jpg", false));
    // A name without a texture sits in the cache too and must be skipped.
    EXPECT_EQ(manager->textureId("filterMissing"), 0u);
    expectEveryTextureFiltered(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);

    pressMipmapKey();
    expectEveryTextureFiltered(GL_LINEAR, GL_LINEAR);
    pressMipmapKey();
    expectEveryTextureFiltered(GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR);
    pressMipmapKey();
    expectEveryTextureFiltered(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);
    pressSamplingKey();
    expectEveryTextureFiltered(GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST);

    // Walk the rest of the table: every mipmap mode under nearest, then back to linear.
    for (int step = 0; step < 3; ++step) {
        pressMipmapKey();
        expectFiltersMatchTable();
    }
    pressSamplingKey();
    expectFiltersMatchTable();
    for (int step = 0; step < 3; ++step) {
        pressSamplingKey();
        expectFiltersMatchTable();
        pressMipmapKey();
        expectFiltersMatchTable();
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    manager->setSampling(TextureManager::samplingLinear);
    manager->setMipmapping(TextureManager::mipmapLinear);
}

TEST(TextureFilters, LaterTexturesTakeTheCurrentFilters)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    TextureManager* manager = TextureManager::getInstance();
    manager->setSampling(TextureManager::samplingNearest);
    manager->setMipmapping(TextureManager::mipmapNearest);
    ASSERT_TRUE(folder.save(testimages::makePatternImage(4, 4, 24), FIF_PNG, "filterLate.png"));

    ASSERT_TRUE(manager->loadTexture("filterLate.png", false));
    GLuint texture = manager->textureId("filterLate.png");
    EXPECT_EQ(testimages::textureParameter(texture, GL_TEXTURE_MIN_FILTER), GLint(GL_NEAREST_MIPMAP_NEAREST));
    EXPECT_EQ(testimages::textureParameter(texture, GL_TEXTURE_MAG_FILTER), GLint(GL_NEAREST));
    GLint smallestWidth = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &smallestWidth);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(smallestWidth, 1);

    manager->setSampling(TextureManager::samplingLinear);
    manager->setMipmapping(TextureManager::mipmapLinear);
}

TEST(TextureFilters, MipmapsExistWhenLoadedWithMipmappingOff)
{
    GL_TEST_SETUP(context);
    TextureFolder folder;
    TextureManager* manager = TextureManager::getInstance();
    manager->setMipmapping(TextureManager::mipmapOff);
    ASSERT_TRUE(folder.save(testimages::makePatternImage(8, 4, 32), FIF_PNG, "filterNoMips.png"));

    ASSERT_TRUE(manager->loadTexture("filterNoMips.png", true));
    GLuint texture = manager->textureId("filterNoMips.png");
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint lastWidth = 0;
    GLint lastHeight = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &lastWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_HEIGHT, &lastHeight);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(lastWidth, 1);
    EXPECT_EQ(lastHeight, 1);

    manager->setMipmapping(TextureManager::mipmapLinear);
}
