#pragma once

#include "app/AppMain.h"
#include "app/Launch.h"
#include "assets/TextureManager.h"
#include "scene/Camera.h"
#include "scene/SceneObject.h"
#include "settings/Settings.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

// Where an object stands in the world.
inline glm::vec3 positionOf(const SceneObject& object)
{
    return glm::vec3((*object.modelMatrix)[3]);
}

// Puts a moved object back where it stood, so tests sharing one loaded
// application do not see each other's changes.
class PlacementGuard {
public:
    explicit PlacementGuard(SceneObject& object)
        : object(object), model(*object.modelMatrix), inverse(*object.inverseModelMatrix)
    {
    }
    ~PlacementGuard()
    {
        *object.modelMatrix = model;
        *object.inverseModelMatrix = inverse;
        // An identity step refreshes everything derived from the placement.
        object.applyTransform(glm::mat4(1.0f), glm::mat4(1.0f));
    }

private:
    SceneObject& object;
    glm::mat4 model;
    glm::mat4 inverse;
};

// The whole application loaded once in a small window, run from the
// repository's bin/ folder so it finds "../brimbolt/" as the program does.
class AppFrame : public ::testing::Test {
protected:
    static constexpr int width = 320;
    static constexpr int height = 180;

    static void SetUpTestSuite() { launchApp(AppMain::SoundOutput::Device); }
    static void launchApp(AppMain::SoundOutput soundOutput)
    {
        previousDirectory = std::filesystem::current_path();
        std::filesystem::current_path(std::filesystem::path(BRIMBOLT_SOURCE_DIR) / "bin");
        LaunchOptions options;
        options.width = width;
        options.height = height;
        options.soundOutput = soundOutput;
        options.seed = 1;
        options.raceStep = RaceClock::defaultStep;
        options.showStartScreen = true;
        options.whileStartScreenShows = [](AppMain&) { startScreen = readWindow(); };
        app = launch(options).release();
        ready = app != nullptr;
    }

    static void TearDownTestSuite()
    {
        delete app;
        app = nullptr;
        std::filesystem::current_path(previousDirectory);
    }

    void SetUp() override
    {
        if (!ready) {
            GTEST_SKIP() << "no window (no display?)";
        }
        app->fixedView = nullptr;
        app->restart();
        while (glGetError() != GL_NO_ERROR) {
        }
        frame(0.0);
    }

    // No frame of any test raised a GL error: the flag stays set until read.
    void TearDown() override
    {
        if (ready) {
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        }
    }

    // A drawn frame that ran the race for `seconds`.
    static void frame(double seconds)
    {
        app->advance(seconds);
        app->draw();
    }

    // A still camera: its previous view equals the current one.
    static void lookFrom(const glm::vec3& eye, const glm::vec3& target)
    {
        glm::mat4 view = glm::lookAt(eye, target, glm::vec3(0.0f, 1.0f, 0.0f));
        app->camera->setTransform(glm::inverse(view), view);
        app->camera->storePreviousTransform();
        app->fixedView = app->camera;
    }

    struct Pixel {
        int x;
        int y;
    };
    static Pixel project(const glm::vec3& world)
    {
        glm::vec4 clip = *app->camera->projectionMatrix * *app->camera->inverseModelMatrix * glm::vec4(world, 1.0f);
        glm::vec2 ndc = glm::vec2(clip) / clip.w;
        return {int((ndc.x * 0.5f + 0.5f) * width), int((ndc.y * 0.5f + 0.5f) * height)};
    }

    // RGB rows bottom-up, as the GL reads them.
    using Image = std::vector<std::uint8_t>;
    static Image readWindow()
    {
        Image pixels(width * height * 3);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        // Mesa keeps the back buffer's contents through the swap, so the frame
        // just shown can still be read from it.
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    static Image readScene()
    {
        Image pixels(width * height * 3);
        glBindTexture(GL_TEXTURE_2D, TextureManager::getInstance()->getSceneTexture());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return pixels;
    }

    // Over a square of pixels around a point, clipped to the picture: the
    // mean of `value(channel of a, channel of b)` over the three channels.
    template <typename Value>
    static double meanAround(const Image& a, const Image& b, Pixel centre, int radius, Value value)
    {
        double sum = 0.0;
        int count = 0;
        for (int y = std::max(centre.y - radius, 0); y <= std::min(centre.y + radius, height - 1); ++y) {
            for (int x = std::max(centre.x - radius, 0); x <= std::min(centre.x + radius, width - 1); ++x) {
                for (int c = 0; c < 3; ++c) {
                    const std::size_t i = static_cast<std::size_t>((y * width + x) * 3 + c);
                    sum += value(a[i], b[i]);
                    ++count;
                }
            }
        }
        return count > 0 ? sum / count : 0.0;
    }
    static double brightness(const Image& image, Pixel centre, int radius)
    {
        return meanAround(image, image, centre, radius, [](int v, int) { return v; });
    }
    // Mean absolute channel difference.
    static double difference(const Image& a, const Image& b, Pixel centre, int radius)
    {
        return meanAround(a, b, centre, radius, [](int u, int v) { return std::abs(u - v); });
    }
    // How many channels of the two pictures differ by more than `threshold`.
    static long differing(const Image& a, const Image& b, int threshold)
    {
        long count = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            count += std::abs(int(a[i]) - int(b[i])) > threshold ? 1 : 0;
        }
        return count;
    }

    static inline AppMain* app = nullptr;
    static inline bool ready = false;
    static inline Image startScreen; // the window as it stood while the content loaded
    static inline std::filesystem::path previousDirectory;
};
