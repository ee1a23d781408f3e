#include "assets/Texture.h"
#include "assets/TextureManager.h"
#include "settings/Settings.h"

#include "support/AssetFiles.h"
#include "support/GLProgramTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace assettest;
using rendertest::integerState;
using rendertest::textureParameter;

// A failed load is tried again, a loaded name is not read again, and deleting
// every texture keeps the names for a reload that a handle then binds.
TEST(TextureCache, FailedLoadsAreTriedAgainAndLoadedNamesComeFromTheCache)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    TextureManager* manager = TextureManager::getInstance();
    EXPECT_FALSE(manager->loadTexture("late", false));
    EXPECT_EQ(manager->textureId("late"), 0u);
    EXPECT_FALSE(manager->bindTexture("late"));

    ASSERT_TRUE(folder.save(makeImage(4, 4, 24), FIF_PNG, "late.png"));
    EXPECT_TRUE(manager->loadTexture("late", false));
    const GLuint texture = manager->textureId("late");
    EXPECT_TRUE(manager->bindTexture("late"));
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), GLint(texture));
    glBindTexture(GL_TEXTURE_2D, 0);
    // With the file gone only the cache can answer.
    std::filesystem::remove(folder.path("late.png"));
    EXPECT_TRUE(manager->loadTexture("late", true));
    EXPECT_EQ(manager->textureId("late"), texture);

    ASSERT_TRUE(folder.save(makeImage(4, 4, 32), FIF_PNG, "first.png"));
    ASSERT_TRUE(manager->loadTexture("first.png", false));
    const GLuint first = manager->textureId("first.png");
    const Texture handle("first.png");
    manager->deleteAllTextures();
    EXPECT_EQ(manager->textureId("first.png"), 0u);
    EXPECT_EQ(manager->textureId("late"), 0u);
    EXPECT_FALSE(glIsTexture(first));
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_FALSE(manager->bindTexture("first.png"));
    // A handle looks the name up on every bind, so it finds the reloaded texture.
    ASSERT_TRUE(manager->loadTexture("first.png", false));
    handle.bind();
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), GLint(manager->textureId("first.png")));
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST(TextureFilters, ModeChangesRefilterEveryCachedTexture)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    TextureManager* manager = TextureManager::getInstance();
    manager->setSampling(TextureManager::samplingNearest);
    manager->setMipmapping(TextureManager::mipmapLinear);
    std::vector<std::string> names{"colour.png", "alpha", "grey.jpg"};
    ASSERT_TRUE(folder.save(makeImage(8, 8, 24), FIF_PNG, "colour.png"));
    ASSERT_TRUE(folder.save(makeImage(8, 8, 32), FIF_PNG, "alpha.png"));
    ASSERT_TRUE(folder.save(makeGreyImage(8, 8, 90), FIF_JPEG, "grey.jpg"));
    ASSERT_TRUE(folder.save(makeImage(4, 4, 24), FIF_PNG, "late.png"));
    ASSERT_TRUE(manager->loadTexture("colour.png", false));
    ASSERT_TRUE(manager->loadTexture("alpha", true));
    ASSERT_TRUE(manager->loadTexture("grey.jpg", false));
    // A name without a texture sits in the cache too and must be skipped.
    EXPECT_FALSE(manager->loadTexture("missing", false));

    using TM = TextureManager;
    struct Step {
        int mipmapping;
        int sampling;
        GLenum minification;
        GLenum magnification;
    };
    // Each mode of each key once, the first step with mipmapping off.
    const Step steps[] = {
        {TM::mipmapOff, TM::samplingLinear, GL_LINEAR, GL_LINEAR},
        {TM::mipmapNearest, TM::samplingNearest, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST},
        {TM::mipmapLinear, TM::samplingLinear, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "expecting " << step.minification);
        manager->setMipmapping(step.mipmapping);
        manager->setSampling(step.sampling);
        if (step.mipmapping == TM::mipmapOff) {
            // Loaded with mipmapping off: it takes the current filters, and
            // its mipmaps exist for when the key switches them on.
            ASSERT_TRUE(manager->loadTexture("late.png", false));
            EXPECT_EQ(textureParameter(manager->textureId("late.png"), GL_TEXTURE_WIDTH, 2), 1);
            names.push_back("late.png");
        }
        EXPECT_EQ(manager->getMinFilter(), step.minification);
        EXPECT_EQ(manager->getMagFilter(), step.magnification);
        for (const std::string& name : names) {
            SCOPED_TRACE(name);
            const GLuint texture = manager->textureId(name);
            ASSERT_NE(texture, 0u);
            EXPECT_EQ(textureParameter(texture, GL_TEXTURE_MIN_FILTER), GLint(step.minification));
            EXPECT_EQ(textureParameter(texture, GL_TEXTURE_MAG_FILTER), GLint(step.magnification));
        }
        EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), 0);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(SceneTarget, IsACompleteFramebufferOfTheWindowSizeThatFiltersLeaveAlone)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    TextureManager* manager = TextureManager::getInstance();
    const int savedWidth = windowWidth;
    const int savedHeight = windowHeight;
    windowWidth = 96;
    windowHeight = 40;
    const GLuint framebuffer = manager->createSceneTarget();
    windowWidth = savedWidth;
    windowHeight = savedHeight;
    ASSERT_NE(framebuffer, 0u);
    const GLuint texture = manager->getSceneTexture();
    EXPECT_EQ(textureParameter(texture, GL_TEXTURE_WIDTH, 0), 96);
    EXPECT_EQ(textureParameter(texture, GL_TEXTURE_HEIGHT, 0), 40);

    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    // The scene draws into it: a clear reaches the texture.
    glViewport(0, 0, 96, 40);
    glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const std::vector<std::uint8_t> texels = rendertest::readTexture(texture, 96, 40);
    EXPECT_EQ(texels[0], 255);
    EXPECT_NEAR(texels[1], 128, 1);
    EXPECT_EQ(texels[2], 0);

    manager->setSampling(TextureManager::samplingNearest);
    manager->setMipmapping(TextureManager::mipmapOff);
    EXPECT_EQ(textureParameter(texture, GL_TEXTURE_MIN_FILTER), GLint(GL_LINEAR));
    EXPECT_EQ(textureParameter(texture, GL_TEXTURE_MAG_FILTER), GLint(GL_LINEAR));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Deleting the manager frees the target; the next one starts without it.
    delete manager;
    EXPECT_FALSE(glIsFramebuffer(framebuffer));
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_FALSE(TextureManager::getInstance()->sceneTargetExists());
}
