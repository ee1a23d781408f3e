#include "effects/Explosion.h"
#include "effects/Smoke.h"
#include "scene/Camera.h"

#include "effects/ParticleTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

using namespace particletest;

namespace {

// A camera 8 units in front of the origin, looking at it down -Z.
void lookAtOrigin(Camera& camera)
{
    camera.translate(0.0f, 0.0f, 8.0f);
}

long paintedByDrawing(const std::function<void()>& draw)
{
    glClear(GL_COLOR_BUFFER_BIT);
    draw();
    return paintedPixels();
}

void expectBindingsReleased()
{
    for (GLenum binding : {GL_CURRENT_PROGRAM, GL_VERTEX_ARRAY_BINDING, GL_TEXTURE_BINDING_2D, GL_ARRAY_BUFFER_BINDING}) {
        GLint value = -1;
        glGetIntegerv(binding, &value);
        EXPECT_EQ(value, 0) << "binding " << binding;
    }
}

} // namespace

TEST(Explosion, DrawsAndMovesOnlyFromTriggerUntilItsLastSparkDies)
{
    GL_TEST_SETUP(context);
    FrameTimeGuard frameTime;
    auto program = particleProgram();
    ASSERT_NE(program->program(), 0u);
    GLTexture sprite = whiteSprite();
    assettest::SrgbTarget target(64, 64);
    ASSERT_TRUE(target.complete());
    glEnable(GL_PROGRAM_POINT_SIZE);
    Camera camera;
    lookAtOrigin(camera);
    std::srand(11);
    Explosion explosion(*program, sprite.id());
    deltaTime = 0.1;

    // Never triggered: ten steps leave every spark waiting and nothing is drawn.
    for (int step = 0; step < 10; ++step) {
        explosion.update();
    }
    EXPECT_EQ(explosion.aliveCount, 0);
    for (int i = 0; i < explosion.particleCount; ++i) {
        ASSERT_EQ(explosion.positions[i], glm::vec3(0.0f, 2.0f, 0.0f)) << "spark " << i;
    }
    EXPECT_EQ(paintedByDrawing([&] { explosion.draw(camera); }), 0);

    // A burst: all sparks live through the shortest life (0.5 / 0.3 per second).
    explosion.trigger(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(explosion.aliveCount, 150);
    for (int step = 0; step < 16; ++step) {
        explosion.update();
    }
    EXPECT_EQ(explosion.aliveCount, 150);
    EXPECT_GT(paintedByDrawing([&] { explosion.draw(camera); }), 0);
    expectBindingsReleased();

    // The longest life is 1 / 0.3 s: by 3.4 s every spark is dead and the drawing stops.
    for (int step = 16; step < 34; ++step) {
        explosion.update();
    }
    EXPECT_EQ(explosion.aliveCount, 0);
    for (int i = 0; i < explosion.particleCount; ++i) {
        ASSERT_LE(explosion.particles[i].life, 0.0f) << "spark " << i;
    }
    EXPECT_EQ(paintedByDrawing([&] { explosion.draw(camera); }), 0);

    // Sparks beyond particleCount are spare room and never take part.
    EXPECT_EQ(explosion.particles[150].life, 0.0f);
    glDisable(GL_PROGRAM_POINT_SIZE);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(Smoke, PuffsRespawnAtTheirOwnPipeAndAreAlwaysDrawn)
{
    GL_TEST_SETUP(context);
    FrameTimeGuard frameTime;
    auto program = particleProgram();
    GLTexture sprite = whiteSprite();
    assettest::SrgbTarget target(64, 64);
    ASSERT_TRUE(target.complete());
    Camera camera;
    lookAtOrigin(camera);
    std::srand(5);
    Smoke smoke(*program, sprite.id());
    const glm::vec3 pipeA(1.0f, 0.0f, 0.0f);
    const glm::vec3 pipeB(-1.0f, 0.0f, 0.0f);
    const glm::vec3 backwards(0.0f, 0.0f, 1.0f);
    smoke.emitterA = pipeA;
    smoke.emitterB = pipeB;
    smoke.emitDirection = backwards;

    // A puff lives at most 1/12 s, so one step of 0.1 s ends every one of them.
    deltaTime = 0.1;
    smoke.update();
    for (int i = 0; i < smoke.particleCount; ++i) {
        const Particle& puff = smoke.particles[i];
        const glm::vec3 pipe = i % 2 == 1 ? pipeA : pipeB;
        ASSERT_LE(glm::length(puff.position - pipe), 0.087f) << "puff " << i << " left the wrong pipe";
        ASSERT_EQ(puff.direction, backwards);
        ASSERT_EQ(puff.color, glm::vec4(0.1f, 0.1f, 0.1f, 1.0f));
        // The upload still shows how it died.
        ASSERT_LE(smoke.colors[i].a, 0.0f) << "puff " << i;
    }
    EXPECT_LE(glm::length(smoke.particles[3].position - pipeA), 0.087f);
    EXPECT_LE(glm::length(smoke.particles[4].position - pipeB), 0.087f);

    // The next step uploads the newborn puffs, still beside their pipes.
    deltaTime = 0.01;
    smoke.update();
    EXPECT_LE(glm::length(smoke.positions[3] - pipeA), 0.2f);
    EXPECT_LE(glm::length(smoke.positions[4] - pipeB), 0.2f);
    EXPECT_GT(paintedByDrawing([&] { smoke.draw(camera); }), 0);
    expectBindingsReleased();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(ParticleEffects, ZeroFrameTimeFreezesBothEffects)
{
    GL_TEST_SETUP(context);
    FrameTimeGuard frameTime;
    auto program = particleProgram();
    std::srand(3);
    Smoke smoke(*program, 0);
    Explosion explosion(*program, 0);
    explosion.trigger(2.0f, 0.0f, -4.0f);
    deltaTime = 0.01;
    smoke.update();
    explosion.update();
    // Puffs that died in that step show their dead state until the next
    // step uploads them reborn; after that nothing may change any more.
    deltaTime = 0.0;
    smoke.update();
    explosion.update();
    const auto smokeBefore = smoke.positions;
    const auto smokeColorsBefore = smoke.colors;
    const auto sparksBefore = explosion.positions;
    const auto sparkColorsBefore = explosion.colors;

    for (int step = 0; step < 5; ++step) {
        smoke.update();
        explosion.update();
    }
    EXPECT_EQ(smoke.positions, smokeBefore);
    EXPECT_EQ(smoke.colors, smokeColorsBefore);
    EXPECT_EQ(explosion.positions, sparksBefore);
    EXPECT_EQ(explosion.colors, sparkColorsBefore);
    EXPECT_EQ(explosion.aliveCount, 150);
}
