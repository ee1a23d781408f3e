#include "assets/TestImages.h"
#include "assets/TextureManager.h"
#include "app/Settings.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

namespace {
// Sets the window size the scene target is made at, and puts it back.
class WindowSizeScope {
public:
    WindowSizeScope(int width, int height)
        : savedWidth(windowWidth)
        , savedHeight(windowHeight)
    {
        windowWidth = width;
        windowHeight = height;
    }
    ~WindowSizeScope()
    {
        windowWidth = savedWidth;
        windowHeight = savedHeight;
    }

private:
    int savedWidth;
    int savedHeight;
};

GLint boundFramebuffer()
{
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    return framebuffer;
}
} // namespace

TEST(SceneTarget, IsACompleteFramebufferOfTheWindowSize)
{
    GL_TEST_SETUP(context);
    WindowSizeScope size(96, 40);
    TextureManager* manager = TextureManager::getInstance();

    GLuint framebuffer = manager->createSceneTarget();
    ASSERT_NE(framebuffer, 0u);
    EXPECT_EQ(framebuffer, manager->getSceneFramebuffer());
    EXPECT_TRUE(manager->sceneTargetExists());
    EXPECT_EQ(boundFramebuffer(), 0);
    EXPECT_EQ(testimages::boundTexture(), 0);

    GLuint texture = manager->getSceneTexture();
    EXPECT_EQ(testimages::levelParameter(texture, GL_TEXTURE_WIDTH), 96);
    EXPECT_EQ(testimages::levelParameter(texture, GL_TEXTURE_HEIGHT), 40);
    EXPECT_EQ(testimages::levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), GLint(GL_RGBA8));
    EXPECT_EQ(testimages::textureParameter(texture, GL_TEXTURE_MIN_FILTER), GLint(GL_LINEAR));
    EXPECT_EQ(testimages::textureParameter(texture, GL_TEXTURE_MAG_FILTER), GLint(GL_LINEAR));
    EXPECT_EQ(testimages::textureParameter(texture, GL_TEXTURE_WRAP_S), GLint(GL_CLAMP_TO_EDGE));
    EXPECT_EQ(testimages::textureParameter(texture, GL_TEXTURE_WRAP_T), GLint(GL_CLAMP_TO_EDGE));

    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    GLint attached = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
    EXPECT_EQ(attached, GLint(texture));
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
    EXPECT_EQ(attached, GLint(manager->getSceneDepthBuffer()));
    GLint depthBits = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
    EXPECT_GT(depthBits, 0);

    // The scene draws into it: a clear reaches the texture.
    glViewport(0, 0, 96, 40);
    glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    std::vector<BYTE> texels = testimages::readRgba(texture, 96, 40);
    EXPECT_EQ(texels[0], 255);
    EXPECT_NEAR(texels[1], 128, 1);
    EXPECT_EQ(texels[2], 0);

    glBindRenderbuffer(GL_RENDERBUFFER, manager->getSceneDepthBuffer());
    GLint depthWidth = 0;
    GLint depthHeight = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &depthWidth);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &depthHeight);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    EXPECT_EQ(depthWidth, 96);
    EXPECT_EQ(depthHeight, 40);

    // The filter keys leave the scene image alone.
    manager->setSampling(TextureManager::samplingNearest);
    manager->setMipmapping(TextureManager::mipmapOff);
    EXPECT_EQ(testimages::textureParameter(texture, GL_TEXTURE_MIN_FILTER), GLint(GL_LINEAR));
    EXPECT_EQ(testimages::textureParameter(texture, GL_TEXTURE_MAG_FILTER), GLint(GL_LINEAR));
    manager->setSampling(TextureManager::samplingLinear);
    manager->setMipmapping(TextureManager::mipmapLinear);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    delete manager;
}

TEST(SceneTarget, DestroyingTheManagerDeletesItsGLObjects)
{
    GL_TEST_SETUP(context);
    WindowSizeScope size(32, 16);
    GLuint framebuffer = 0;
    GLuint sceneTexture = 0;
    GLuint depthBuffer = 0;
    GLuint cached = 0;
    {
        testimages::TextureFolder folder;
        TextureManager* manager = TextureManager::getInstance();
        ASSERT_TRUE(folder.save(testimages::makePatternImage(4, 4, 24), FIF_PNG, "sceneCached.png"));
        ASSERT_TRUE(manager->loadTexture("sceneCached.png", false));
        cached = manager->textureId("sceneCached.png");
        framebuffer = manager->createSceneTarget();
        sceneTexture = manager->getSceneTexture();
        depthBuffer = manager->getSceneDepthBuffer();
        manager->setSampling(TextureManager::samplingNearest);

        delete manager;
        EXPECT_FALSE(glIsTexture(cached));
        EXPECT_FALSE(glIsTexture(sceneTexture));
        EXPECT_FALSE(glIsRenderbuffer(depthBuffer));
        EXPECT_FALSE(glIsFramebuffer(framebuffer));
    }

    // The next user gets a fresh manager with the initial state.
    TextureManager* fresh = TextureManager::getInstance();
    EXPECT_FALSE(fresh->sceneTargetExists());
    EXPECT_EQ(fresh->getSamplingMode(), TextureManager::samplingLinear);
    EXPECT_EQ(fresh->getMipmapMode(), TextureManager::mipmapLinear);
    EXPECT_EQ(fresh->textureId("sceneCached.png"), 0u);
    EXPECT_EQ(fresh->getTextureDirectory(), "../brimbolt/textures/");
}
