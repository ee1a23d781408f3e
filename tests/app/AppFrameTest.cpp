#include "AppFrameTestSupport.h"

#include "effects/Explosion.h"
#include "assets/Mesh.h"
#include "render/Geometry.h"
#include "render/Level.h"
#include "render/Light.h"
#include "render/ParallaxGeometry.h"
#include "render/ReflectiveGeometry.h"
#include "vehicles/Car.h"
#include "vehicles/Player.h"

#include <cmath>
#include <cstdlib>

TEST_F(AppFrame, ThreeHundredFramesRaiseNoGLError)
{
    while (glGetError() != GL_NO_ERROR) {
    }
    // With everything in the frame: a car under way, smoke and both bursts.
    for (Player* player : app->players) {
        const glm::vec3 at = positionOf(*player->getCar());
        player->getExplosion()->trigger(at.x, at.y + 1.0f, at.z);
    }
    int errors = 0;
    for (int i = 0; i < 300; ++i) {
        app->players[0]->getCar()->accelerate();
        frame(1.0 / 60.0);
        errors += glGetError() != GL_NO_ERROR ? 1 : 0;
    }
    EXPECT_EQ(errors, 0);
}

TEST_F(AppFrame, ShowPieceShadowsTheFloorUnderTheCeilingLight)
{
    const glm::vec3 floorPoint(0.0f, -0.7f, -15.0f);
    lookFrom({0.0f, 8.0f, 10.0f}, floorPoint);
    frame(0.0);
    double lit = brightness(readScene(), project(floorPoint), 3);

    // Hang the aeroplane half way between the ceiling light and the floor point,
    // above the camera's view.
    Geometry& caster = *app->sceneGeometries[0];
    PlacementGuard keep(caster);
    glm::vec3 between = 0.5f * (app->level->lightPositions[0] + floorPoint);
    caster.resetTransform();
    caster.translate(between.x, between.y, between.z);
    frame(0.0);
    double shadowed = brightness(readScene(), project(floorPoint), 3);

    EXPECT_GT(lit, 20.0);
    EXPECT_LT(shadowed, lit * 0.92) << "lit " << lit << ", shadowed " << shadowed;
}

TEST_F(AppFrame, PigReflectsWhatIsPlacedNearIt)
{
    glm::vec3 centre = app->reflectiveObject->mesh->boundingSphere.worldCentre;
    lookFrom(centre + glm::vec3(0.0f, 0.5f, 6.0f), centre);
    frame(0.0);
    AppFrame::Image before = readScene();

    // The orange aeroplane goes behind the camera, broadside on: unseen directly,
    // but in the pig's mirror.
    Geometry& aeroplane = *app->sceneGeometries[0];
    PlacementGuard keep(aeroplane);
    aeroplane.resetTransform();
    aeroplane.translate(centre.x, centre.y - 1.0f, centre.z + 9.0f);
    aeroplane.rotateY(90.0f);
    aeroplane.scale(1.5f, 1.5f, 1.5f);
    frame(0.0);
    AppFrame::Image after = readScene();
    dump("pig_before", before);
    dump("pig_after", after);

    Pixel pig = project(centre);
    double change = 0.0;
    int radius = 6;
    for (int y = pig.y - radius; y <= pig.y + radius; ++y) {
        for (int x = pig.x - radius; x <= pig.x + radius; ++x) {
            for (int c = 0; c < 3; ++c) {
                std::size_t i = (y * width + x) * 3 + c;
                change += std::abs(int(after[i]) - int(before[i]));
            }
        }
    }
    change /= (2 * radius + 1) * (2 * radius + 1) * 3;
    EXPECT_GT(change, 1.5) << "mean change of the pig's pixels";
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
    dump("wall_before", before);
    dump("wall_after", after);

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
    AppFrame::Image scene = readScene(), window = readWindow();
    int largest = 0;
    for (std::size_t i = 0; i < scene.size(); ++i) {
        largest = std::max(largest, std::abs(int(scene[i]) - int(window[i])));
    }
    EXPECT_LE(largest, 3);

    // Turn the camera between frames: the window is smeared along the motion.
    app->camera->rotateY(4.0f);
    frame(1.0 / 60.0);
    scene = readScene();
    window = readWindow();
    long differing = 0;
    for (std::size_t i = 0; i < scene.size(); ++i) {
        differing += std::abs(int(scene[i]) - int(window[i])) > 6 ? 1 : 0;
    }
    EXPECT_GT(differing, long(scene.size() / 50));
}

TEST_F(AppFrame, CreditsCoverTheScreenOnlyAfterTheirTime)
{
    lookFrom({18.0f, 10.0f, 40.0f}, {-10.0f, 0.0f, 0.0f});
    app->raceTime = 125.0;
    deltaTime = 0.0;
    app->draw();
    AppFrame::Image atTime = readWindow();
    AppFrame::Image scene = readScene();
    app->raceTime = 125.01;
    app->draw();
    AppFrame::Image after = readWindow();

    long changedAtTime = 0, changedAfter = 0;
    for (std::size_t i = 0; i < scene.size(); ++i) {
        changedAtTime += std::abs(int(atTime[i]) - int(scene[i])) > 6 ? 1 : 0;
        changedAfter += std::abs(int(after[i]) - int(scene[i])) > 6 ? 1 : 0;
    }
    EXPECT_LT(changedAtTime, long(scene.size() / 100));
    EXPECT_GT(changedAfter, long(scene.size() / 20));
}

TEST_F(AppFrame, StartPictureStandsWhileTheContentLoads)
{
    // The title picture: dark room, bright lettering in the middle.
    double middle = brightness(startScreen, {width / 2, height / 2}, 20);
    double corner = brightness(startScreen, {8, 8}, 6);
    EXPECT_GT(middle, corner + 20.0);
    long differing = 0;
    AppFrame::Image scene = readWindow();
    for (std::size_t i = 0; i < scene.size(); ++i) {
        differing += std::abs(int(scene[i]) - int(startScreen[i])) > 10 ? 1 : 0;
    }
    EXPECT_GT(differing, long(scene.size() / 4)) << "the first frame replaces the start picture";
}
