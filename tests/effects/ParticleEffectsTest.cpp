#include "effects/Explosion.h"
#include "effects/Smoke.h"

#include "scene/Camera.h"
#include "settings/Settings.h"

#include "support/GLProgramTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace rendertest;

namespace {

// Puts the frame time back after a test that steps the effects.
struct FrameTimeGuard {
    ~FrameTimeGuard() { deltaTime = saved; }
    const double saved = deltaTime;
};

// The effects' own program, a white sprite (a drawn particle shows in its own
// colour), a 64x64 sRGB target with sRGB writes on, as the window is, and a
// camera 8 units in front of the origin looking at it.
struct ParticleScene {
    ParticleScene()
    {
        camera.translate(0.0f, 0.0f, 8.0f);
        glEnable(GL_PROGRAM_POINT_SIZE);
        glEnable(GL_FRAMEBUFFER_SRGB);
    }
    ~ParticleScene()
    {
        glDisable(GL_FRAMEBUFFER_SRGB);
        glDisable(GL_PROGRAM_POINT_SIZE);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    ParticleScene(const ParticleScene&) = delete;
    ParticleScene& operator=(const ParticleScene&) = delete;

    // How many pixels of the cleared target a draw paints.
    template <typename Draw>
    long painted(Draw draw)
    {
        target.begin();
        draw();
        const std::vector<Pixel> pixels = target.read();
        return std::count_if(pixels.begin(), pixels.end(), [](const Pixel& pixel) { return pixel != Pixel{}; });
    }

    FrameTimeGuard frameTime;
    std::unique_ptr<Shader> program = loadProgram("particleShader");
    GLTexture sprite = makeTexture(1, 1, {Pixel{255, 255, 255, 255}});
    RenderTarget target{64, 64, GL_SRGB8_ALPHA8};
    Camera camera;
};

void expectBindingsReleased()
{
    for (GLenum binding : {GL_CURRENT_PROGRAM, GL_VERTEX_ARRAY_BINDING, GL_TEXTURE_BINDING_2D, GL_ARRAY_BUFFER_BINDING}) {
        EXPECT_EQ(integerState(binding), 0) << "binding " << binding;
    }
}

// What the GL holds in one of the smoke's buffers, for its live count of puffs.
template <typename Value>
std::vector<Value> uploaded(const Smoke& smoke, std::size_t buffer)
{
    std::vector<Value> values(static_cast<std::size_t>(smoke.particleCount));
    glBindBuffer(GL_ARRAY_BUFFER, smoke.buffers[buffer].id());
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(values.size() * sizeof(Value)), values.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return values;
}

template <typename Value, std::size_t Size>
std::vector<Value> firstOf(const std::array<Value, Size>& values, int count)
{
    return {values.begin(), values.begin() + count};
}

} // namespace

TEST(Explosion, DrawsAndMovesOnlyFromTriggerUntilItsLastSparkDies)
{
    GL_TEST_SETUP(context);
    ParticleScene scene;
    ASSERT_NE(scene.program->program(), 0u);
    std::srand(11);
    Explosion explosion(*scene.program, scene.sprite.id());
    deltaTime = 0.1;

    // Never triggered: ten steps leave every spark waiting and nothing is drawn.
    for (int step = 0; step < 10; ++step) {
        explosion.update();
    }
    EXPECT_EQ(explosion.aliveCount, 0);
    for (int i = 0; i < explosion.particleCount; ++i) {
        ASSERT_EQ(explosion.positions[i], glm::vec3(0.0f, 2.0f, 0.0f)) << "spark " << i;
    }
    EXPECT_EQ(scene.painted([&] { explosion.draw(scene.camera); }), 0);

    // A burst: all sparks live through the shortest life (0.5 / 0.3 per second).
    explosion.trigger(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(explosion.aliveCount, 150);
    for (int step = 0; step < 16; ++step) {
        explosion.update();
    }
    EXPECT_EQ(explosion.aliveCount, 150);
    EXPECT_GT(scene.painted([&] { explosion.draw(scene.camera); }), 0);
    expectBindingsReleased();

    // The longest life is 1 / 0.3 s: by 3.4 s every spark is dead and the drawing stops.
    for (int step = 16; step < 34; ++step) {
        explosion.update();
    }
    EXPECT_EQ(explosion.aliveCount, 0);
    for (int i = 0; i < explosion.particleCount; ++i) {
        ASSERT_LE(explosion.particles[i].life, 0.0f) << "spark " << i;
    }
    EXPECT_EQ(scene.painted([&] { explosion.draw(scene.camera); }), 0);

    // Sparks beyond particleCount are spare room and never take part.
    EXPECT_EQ(explosion.particles[150].life, 0.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(Smoke, PuffsRespawnAtTheirOwnPipeAndAreAlwaysDrawn)
{
    GL_TEST_SETUP(context);
    ParticleScene scene;
    std::srand(5);
    Smoke smoke(*scene.program, scene.sprite.id());
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
        ASSERT_LE(glm::length(puff.position - (i % 2 == 1 ? pipeA : pipeB)), 0.087f) << "puff " << i << " left the wrong pipe";
        ASSERT_EQ(puff.direction, backwards);
        ASSERT_EQ(puff.color, glm::vec4(0.1f, 0.1f, 0.1f, 1.0f));
        // What is drawn still shows how it died.
        ASSERT_LE(smoke.colors[i].a, 0.0f) << "puff " << i;
    }

    // The next step moves the newborn puffs a little, still beside their pipes.
    deltaTime = 0.01;
    smoke.update();
    EXPECT_LE(glm::length(smoke.positions[3] - pipeA), 0.2f);
    EXPECT_LE(glm::length(smoke.positions[4] - pipeB), 0.2f);
    EXPECT_GT(scene.painted([&] { smoke.draw(scene.camera); }), 0);
    expectBindingsReleased();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Over a few short steps each puff, followed from one step to the next, is
// thin smoke that thins further, lightens, slows down without ever turning
// back into the pipe, and rises; and most live through a step.
TEST(Smoke, APuffThinsLightensSlowsWithoutTurningBackAndRises)
{
    GL_TEST_SETUP(context);
    ParticleScene scene;
    std::srand(9);
    Smoke smoke(*scene.program, scene.sprite.id());
    smoke.emitDirection = glm::vec3(0.0f, 0.0f, 1.0f); // level, backwards
    deltaTime = 0.004;
    int followed = 0;
    for (int step = 0; step < 12; ++step) {
        const auto before = smoke.particles;
        smoke.update();
        for (int i = 0; i < smoke.particleCount; ++i) {
            SCOPED_TRACE(testing::Message() << "puff " << i << " in step " << step);
            // The arrays drawn hold the puff after the step, even one that then died and was born again.
            const glm::vec4& colour = smoke.colors[i];
            const glm::vec3& position = smoke.positions[i];
            ASSERT_LE(colour.a, 0.4f) << "thin smoke is mostly see-through";
            ASSERT_LT(colour.a, before[i].color.a);
            ASSERT_GT(glm::min(colour.r, glm::min(colour.g, colour.b)), before[i].color.r) << "it lightens";
            ASSERT_GT(position.y, before[i].position.y) << "it rises";
            ASSERT_GE(position.z, before[i].position.z) << "it never turns back";
            if (colour.a > 0.0f) {
                ++followed;
                const float speed = smoke.particles[i].speed;
                ASSERT_TRUE(speed <= before[i].speed || speed < 0.02f) << "it slows down to a crawl at most";
                ASSERT_GT(speed, 0.0f);
            }
        }
    }
    EXPECT_GT(followed, 12 * smoke.particleCount / 2);
}

// Steps only move the puffs; the next draw sends them to the GL as the last
// step left them, however many steps there were since the draw before.
TEST(Smoke, EachDrawSendsThePuffsAsTheLastStepLeftThem)
{
    GL_TEST_SETUP(context);
    ParticleScene scene;
    std::srand(4);
    Smoke smoke(*scene.program, scene.sprite.id());
    smoke.emitterA = glm::vec3(0.5f, 0.0f, 0.0f);
    smoke.emitDirection = glm::vec3(0.0f, 0.0f, 1.0f);
    deltaTime = 0.01;
    for (const int steps : {1, 3}) {
        SCOPED_TRACE(testing::Message() << steps << " steps");
        for (int step = 0; step < steps; ++step) {
            smoke.update();
        }
        EXPECT_NE(uploaded<glm::vec3>(smoke, 0), firstOf(smoke.positions, smoke.particleCount)) << "sent by a step";
        smoke.draw(scene.camera);
        EXPECT_EQ(uploaded<glm::vec3>(smoke, 0), firstOf(smoke.positions, smoke.particleCount));
        EXPECT_EQ(uploaded<glm::vec4>(smoke, 1), firstOf(smoke.colors, smoke.particleCount));
    }
}

TEST(ParticleEffects, ZeroFrameTimeFreezesBothEffects)
{
    GL_TEST_SETUP(context);
    ParticleScene scene;
    std::srand(3);
    Smoke smoke(*scene.program, 0);
    Explosion explosion(*scene.program, 0);
    explosion.trigger(2.0f, 0.0f, -4.0f);
    deltaTime = 0.01;
    smoke.update();
    explosion.update();
    // Puffs that died in that step show their dead state until the next
    // step moves them reborn; after that nothing may change any more.
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
