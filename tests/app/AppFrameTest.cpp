#include "AppFrameTestSupport.h"

#include "gl/Shader.h"
#include "gl/ShaderLocation.h"
#include "render/Geometry.h"
#include "render/Level.h"
#include "render/Light.h"
#include "scene/RoomLayout.h"
#include "vehicles/Car.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"

#include <cmath>

namespace {

// A channel of the scene picture, stored sRGB-encoded, as light.
double linear(std::uint8_t value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

TEST_F(AppFrame, ShowPieceAndStoneShadowsFallOnTheFloorUnderTheCeilingLight)
{
    const glm::vec3 floorPoint(0.0f, roomLayout::floorTop, -15.0f);
    const glm::vec3 light = app->level->lightPositions[0];
    // The floor point's brightness with the caster hung on the way to the
    // light, `along` of it, over its brightness with the caster at home.
    auto shadowed = [&](SceneObject& caster, float along, const glm::vec3& eye, int radius) {
        lookFrom(floorPoint + eye, floorPoint);
        frame(0.0);
        const double lit = brightness(readScene(), project(floorPoint), radius);
        EXPECT_GT(lit, 20.0);
        PlacementGuard keep(caster);
        const glm::vec3 at = floorPoint + along * (light - floorPoint);
        caster.resetTransform();
        caster.translate(at.x, at.y, at.z);
        frame(0.0);
        return brightness(readScene(), project(floorPoint), radius) / lit;
    };
    // The aeroplane half way up, above the camera's view; a stone just above the floor.
    EXPECT_LT(shadowed(*app->sceneGeometries[0], 0.5f, {0.0f, 8.7f, 25.0f}, 3), 0.92) << "under the aeroplane";
    EXPECT_LT(shadowed(*app->energyStones[3], 0.08f, {0.0f, 2.0f, 4.0f}, 2), 0.85) << "under a stone";
}

TEST_F(AppFrame, StoneWallReliefAnswersTheLight)
{
    lookFrom({-38.0f, 3.3f, 62.5f}, {-38.0f, 3.3f, 70.0f});
    frame(0.0);
    AppFrame::Image before = readScene();
    PlacementGuard keep(*app->lights[2]);
    app->lights[2]->translate(9.0f, 0.0f, 0.0f);
    frame(0.0);
    AppFrame::Image after = readScene();

    // A flat wall would change smoothly with the light; relief changes brick by
    // brick. Measure what is left of the change after removing its smooth part.
    auto ratioAt = [&](int x, int y) {
        std::size_t i = (y * width + x) * 3 + 1;
        return (after[i] + 1.0) / (before[i] + 1.0);
    };
    double residual = 0.0;
    int count = 0;
    for (int y = 40; y < height - 40; ++y) {
        for (int x = 60; x < width - 60; ++x) {
            double local = 0.0;
            for (int dy = -4; dy <= 4; ++dy) {
                for (int dx = -4; dx <= 4; ++dx) {
                    local += ratioAt(x + dx, y + dy);
                }
            }
            local /= 81.0;
            residual += std::fabs(ratioAt(x, y) - local);
            ++count;
        }
    }
    residual /= count;
    EXPECT_GT(residual, 0.02) << "mean local variation of the lighting change";
}

TEST_F(AppFrame, StillCameraShowsTheSceneImageAndATurningOneBlursIt)
{
    lookFrom({18.0f, 10.0f, 40.0f}, {-10.0f, 0.0f, 0.0f});
    frame(1.0 / 60.0);
    frame(1.0 / 60.0);
    EXPECT_EQ(differing(readScene(), readWindow(), 3), 0);

    // Turn the camera between frames: the window is smeared along the motion.
    app->camera->rotateY(4.0f);
    frame(1.0 / 60.0);
    EXPECT_GT(differing(readScene(), readWindow(), 6), long(width * height * 3 / 50));

    // The smear is scaled to the race time the drawn frame covered, so a
    // camera turning at one rate smears as far at 30 frames a second as at 60.
    Shader& blur = app->program("motionblur");
    auto blurScale = [&] {
        float scale = 0.0f;
        glGetUniformfv(blur.program(), blur.location(ShaderLocation::blurScale), &scale);
        return double(scale);
    };
    const double at60 = blurScale();
    frame(1.0 / 30.0);
    EXPECT_GT(at60, 0.0);
    EXPECT_NEAR(blurScale() / 30.0, at60 / 60.0, 1e-4 * at60);
}

TEST_F(AppFrame, TheStartPictureStandsWhileTheContentLoadsAndTheCreditsCoverTheSceneAfterTheirTime)
{
    // The title picture: dark room, bright lettering in the middle.
    EXPECT_GT(brightness(startScreen, {width / 2, height / 2}, 20), brightness(startScreen, {8, 8}, 6) + 20.0);
    EXPECT_GT(differing(readWindow(), startScreen, 10), long(startScreen.size() / 4))
        << "the first frame replaces the start picture";

    lookFrom({18.0f, 10.0f, 40.0f}, {-10.0f, 0.0f, 0.0f});
    app->raceTime = 125.0;
    deltaTime = 0.0;
    app->draw();
    const Image atTime = readWindow(), scene = readScene();
    app->raceTime = 125.01;
    app->draw();
    EXPECT_LT(differing(atTime, scene, 6), long(scene.size() / 100));
    EXPECT_GT(differing(readWindow(), scene, 6), long(scene.size() / 20));
}

TEST_F(AppFrame, PlayerOnesCarShinesWithATightHighlightAndItsHeadlightFadesWithDistance)
{
    // Seen from where the ceiling light's mirror image lies on the car's roof.
    Car& car = *app->players[0]->getCar();
    const glm::vec3 at = positionOf(car);
    const glm::vec3 toLight = glm::normalize(app->level->lightPositions[0] - at);
    lookFrom(at + 4.0f * glm::vec3(-toLight.x, toLight.y, -toLight.z), at + glm::vec3(0.0f, 0.3f, 0.0f));
    frame(0.0);
    const Image shining = readScene();
    const glm::vec3 specular = car.materialColors[Geometry::specularColor];
    car.materialColors[Geometry::specularColor] = glm::vec3(0.0f);
    frame(0.0);
    const Image matt = readScene();
    car.materialColors[Geometry::specularColor] = specular;
    const std::vector<Drawable*> phongLit = app->frameLists.phongLit;
    std::erase(app->frameLists.phongLit, static_cast<Drawable*>(&car));
    frame(0.0);
    const Image withoutCar = readScene();
    app->frameLists.phongLit = phongLit;
    // The highlight: what the specular term adds, largest channel of each pixel.
    std::vector<int> highlight(shining.size() / 3);
    long carPixels = 0;
    for (std::size_t p = 0; p < highlight.size(); ++p) {
        for (std::size_t c = 3 * p; c < 3 * p + 3; ++c) {
            highlight[p] = std::max(highlight[p], int(shining[c]) - int(matt[c]));
        }
        carPixels += std::abs(int(shining[3 * p + 1]) - int(withoutCar[3 * p + 1])) > 10 ? 1 : 0;
    }
    const int peak = *std::max_element(highlight.begin(), highlight.end());
    const long bright = std::count_if(highlight.begin(), highlight.end(), [&](int h) { return h > peak / 2; });
    EXPECT_GT(peak, 40) << "no highlight on the car";
    EXPECT_LT(bright, carPixels / 5) << "a highlight over " << bright << " of the car's " << carPixels << " pixels";

    // The headlight on a wall straight ahead, at the light's own height: at 40
    // units it gives less than half the light it gives at 10.
    Light& headlight = *app->lights[1];
    constexpr float eastWall = 45.0f; // the room's +x wall, where nothing stands at z = 10
    auto headlightOnTheWall = [&](float distance) {
        car.resetTransform();
        car.translate(eastWall - distance - 1.3f, roomLayout::carStarts[0].y, 10.0f);
        car.rotateY(-90.0f); // facing +x
        deltaTime = 0.0;
        app->update(); // carries the headlight along
        const glm::vec3 wall(eastWall - 0.01f, headlight.position().y, 10.0f);
        lookFrom(wall + glm::vec3(-8.0f, 3.0f, 6.0f), wall);
        frame(0.0);
        const Image lit = readScene();
        const glm::vec3 colour = headlight.color();
        headlight.setColor(glm::vec3(0.0f));
        frame(0.0);
        headlight.setColor(colour);
        const std::size_t green = std::size_t(project(wall).y * width + project(wall).x) * 3 + 1;
        return linear(lit[green]) - linear(readScene()[green]);
    };
    const double near = headlightOnTheWall(10.0f), far = headlightOnTheWall(40.0f);
    EXPECT_GT(near, 0.2);
    EXPECT_LT(far, 0.5 * near) << "at 10 units " << near << ", at 40 " << far;
}
