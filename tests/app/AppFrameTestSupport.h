#pragma once

#include "app/AppMain.h"
#include "app/Launch.h"
#include "assets/TextureManager.h"
#include "effects/UserInterface.h"
#include "scene/Camera.h"
#include "scene/SceneObject.h"
#include "settings/Settings.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
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
    PlacementGuard(const PlacementGuard&) = delete;
    PlacementGuard& operator=(const PlacementGuard&) = delete;

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

    static void SetUpTestSuite()
    {
        previousDirectory = std::filesystem::current_path();
        std::filesystem::current_path(std::filesystem::path(BRIMBOLT_SOURCE_DIR) / "bin");
        LaunchOptions options;
        options.width = width;
        options.height = height;
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
        frame(0.0);
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

    // Writes an image as PPM into $BRIMBOLT_DUMP_DIR when that is set, to look at a failing check.
    static void dump(const char* name, const Image& image)
    {
        const char* folder = std::getenv("BRIMBOLT_DUMP_DIR");
        if (!folder) {
            return;
        }
        std::string path = std::string(folder) + "/" + name + ".ppm";
        if (FILE* file = std::fopen(path.c_str(), "wb")) {
            std::fprintf(file, "P6 %d %d 255\n", width, height);
            for (int y = height - 1; y >= 0; --y) {
                std::fwrite(&image[y * width * 3], 1, width * 3, file);
            }
            std::fclose(file);
        }
    }

    // Mean of (r + g + b) / 3 over a square of pixels around a point.
    static double brightness(const Image& image, Pixel centre, int radius)
    {
        double sum = 0.0;
        int count = 0;
        for (int y = centre.y - radius; y <= centre.y + radius; ++y) {
            for (int x = centre.x - radius; x <= centre.x + radius; ++x) {
                if (x < 0 || y < 0 || x >= width || y >= height) {
                    continue;
                }
                const std::uint8_t* p = &image[(y * width + x) * 3];
                sum += (p[0] + p[1] + p[2]) / 3.0;
                ++count;
            }
        }
        return count > 0 ? sum / count : 0.0;
    }

    static inline AppMain* app = nullptr;
    static inline bool ready = false;
    static inline Image startScreen; // the window as it stood while the content loaded
    static inline std::filesystem::path previousDirectory;
};
