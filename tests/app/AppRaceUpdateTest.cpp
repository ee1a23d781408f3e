// The race update inside the whole application: when the race ends and starts
// over, light 2's closing scene, the spinning and taking of stones, and the
// headlight on player 1's car. Each case steps the update without drawing.
#include "AppFrameTestSupport.h"

#include "effects/Explosion.h"
#include "render/Light.h"
#include "scene/CameraPath.h"
#include "scene/RoomLayout.h"
#include "vehicles/Car.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"

#include <cmath>

namespace {

// One update of the given length that ends exactly at race time `time`. The
// steps used here are exact in binary, so the clock lands on the time itself.
void stepTo(AppMain& app, double time, double step)
{
    app.raceTime = time - step;
    deltaTime = step;
    app.update();
}

float degreesBetween(const glm::vec3& a, const glm::vec3& b)
{
    float cosine = glm::dot(glm::normalize(a), glm::normalize(b));
    return glm::degrees(std::acos(glm::clamp(cosine, -1.0f, 1.0f)));
}

// Where a car's headlight belongs: half a unit up at the front of the body.
glm::vec3 headlightPlace(const Car& car)
{
    return glm::vec3(*car.modelMatrix * glm::vec4(0.0f, 0.5f, -1.3f, 1.0f));
}

glm::vec3 forwardOf(const SceneObject& object)
{
    return glm::normalize(glm::vec3(*object.modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f)));
}

} // namespace

TEST_F(AppFrame, TheRaceEndsOnlyOnceTheClockHasPassedTheEndOfTheCameraPath)
{
    EnergyStone& taken = *app->energyStones[4];
    taken.collected = true;
    // Both cars a few units back from their starts, away from every stone.
    for (Player* player : app->players) {
        player->getCar()->translate(0.0f, 0.0f, 8.0f);
    }
    const double end = app->cameraPath->endTime;
    ASSERT_GT(end, 1.0);

    stepTo(*app, end, 0.5);
    EXPECT_EQ(app->raceTime, end) << "the race started over with the clock on the end time";
    EXPECT_TRUE(taken.collected);
    for (int i = 0; i < 2; ++i) {
        EXPECT_GT(glm::distance(positionOf(*app->players[i]->getCar()), roomLayout::carStarts[i]), 4.0f)
            << "player " << i + 1 << "'s car went back to its start";
    }

    // The next step passes the end: the same update already runs the new race.
    // It is short, so the cars, standing again, cannot roll off their starts.
    deltaTime = 1.0 / 1024.0;
    app->update();
    EXPECT_EQ(app->raceTime, 0.0);
    EXPECT_FALSE(taken.collected);
    EXPECT_NEAR(glm::distance(positionOf(taken), roomLayout::stonePositions[4]), 0.0f, 1e-4f);
    for (int i = 0; i < 2; ++i) {
        const Car& car = *app->players[i]->getCar();
        EXPECT_NEAR(glm::distance(positionOf(car), roomLayout::carStarts[i]), 0.0f, 1e-3f) << "player " << i + 1;
        EXPECT_NEAR(*car.speed, 0.0f, 0.05f) << "player " << i + 1;
    }
    // The headlight came along to player 1's start in the same update.
    EXPECT_NEAR(glm::distance(app->lights[1]->position(), headlightPlace(*app->players[0]->getCar())), 0.0f, 1e-4f);

    // And the new race runs on from there.
    deltaTime = 0.5;
    app->update();
    EXPECT_EQ(app->raceTime, 0.5);
}

TEST_F(AppFrame, LightTwoSwingsDownInTwoMovesAfter122SecondsThenTurnsAndFades)
{
    Light& light = *app->lights[2];
    const double step = 0.5;
    const glm::mat4 hanging = *light.modelMatrix;
    const glm::vec3 start = light.position();
    const glm::vec3 direction = light.spotDirection();
    const glm::vec3 colour = light.color();
    ASSERT_GT(colour.r, 0.0f);

    // Up to 122 s exactly the light hangs still.
    stepTo(*app, 122.0, step);
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ((*light.modelMatrix)[column], hanging[column]) << "column " << column;
    }
    EXPECT_EQ(light.color(), colour);

    // The first move, along the room's axes, still runs at 124.5 s exactly.
    stepTo(*app, 124.5, step);
    glm::vec3 moved = light.position() - start;
    EXPECT_NEAR(moved.x, 10.0f * step, 1e-4f);
    EXPECT_NEAR(moved.y, -4.0f * step, 1e-4f);
    EXPECT_NEAR(moved.z, 8.0f * step, 1e-4f);
    EXPECT_LT(degreesBetween(light.spotDirection(), direction), 0.01f) << "the light turned while moving";

    // The second, straight down, still runs at 126 s exactly.
    const glm::vec3 afterFirst = light.position();
    stepTo(*app, 126.0, step);
    moved = light.position() - afterFirst;
    EXPECT_NEAR(moved.x, 0.0f, 1e-4f);
    EXPECT_NEAR(moved.y, -3.0f * step, 1e-4f);
    EXPECT_NEAR(moved.z, 0.0f, 1e-4f);
    EXPECT_LT(degreesBetween(light.spotDirection(), direction), 0.01f);
    EXPECT_EQ(light.color(), colour);

    // After 126 s it stays put, turns 10 degrees a second about the room's x
    // axis and fades by half its colour per second.
    const glm::vec3 afterSecond = light.position();
    stepTo(*app, 126.5, step);
    EXPECT_NEAR(glm::distance(light.position(), afterSecond), 0.0f, 1e-4f);
    EXPECT_NEAR(degreesBetween(light.spotDirection(), direction), 10.0f * step, 0.01f);
    EXPECT_NEAR(light.spotDirection().x, direction.x, 1e-5f);
    const float fade = static_cast<float>(1.0 - 0.5 * step);
    EXPECT_NEAR(light.color().r, colour.r * fade, 1e-6f);
    EXPECT_NEAR(light.color().g, colour.g * fade, 1e-6f);
    EXPECT_NEAR(light.color().b, colour.b * fade, 1e-6f);

    // A two-second frame fades it all the way out.
    deltaTime = 2.0;
    app->update();
    EXPECT_EQ(light.color(), glm::vec3(0.0f));
}

TEST_F(AppFrame, ATakenStoneNeitherSpinsNorIsTakenAgainWhileTheOthersTurn)
{
    EnergyStone& taken = *app->energyStones[2];
    EnergyStone& untaken = *app->energyStones[3];
    taken.collected = true;
    const glm::mat4 takenPlacement = *taken.modelMatrix;
    const glm::vec3 untakenHeading = forwardOf(untaken);
    const glm::vec3 untakenPlace = positionOf(untaken);

    deltaTime = 0.1;
    app->update();
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ((*taken.modelMatrix)[column], takenPlacement[column]) << "column " << column;
    }
    // 100 degrees a second about the vertical, on the spot.
    EXPECT_NEAR(degreesBetween(forwardOf(untaken), untakenHeading), 10.0f, 0.01f);
    EXPECT_NEAR(forwardOf(untaken).y, untakenHeading.y, 1e-5f);
    EXPECT_NEAR(glm::distance(positionOf(untaken), untakenPlace), 0.0f, 1e-4f);

    // A car driven onto the taken stone sets nothing off.
    Explosion& burst = *app->players[0]->getExplosion();
    burst.aliveCount = 0;
    Car& car = *app->players[0]->getCar();
    const glm::vec3 at = positionOf(taken);
    car.resetTransform();
    car.translate(at.x, roomLayout::carStarts[0].y, at.z);
    deltaTime = 1.0 / 64.0;
    app->update();
    EXPECT_TRUE(taken.collected);
    EXPECT_EQ(burst.aliveCount, 0);
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ((*taken.modelMatrix)[column], takenPlacement[column]) << "column " << column;
    }
}

TEST_F(AppFrame, TwoCarsOnOneStoneInOneFrameTakeItOnceAndBothBurstThere)
{
    EnergyStone& stone = *app->energyStones[2];
    const glm::vec3 at = positionOf(stone);
    for (int i = 0; i < 2; ++i) {
        app->players[i]->getExplosion()->aliveCount = 0;
        Car& car = *app->players[i]->getCar();
        car.resetTransform();
        car.translate(at.x, roomLayout::carStarts[i].y, at.z);
    }

    deltaTime = 1.0 / 64.0;
    app->update();
    EXPECT_TRUE(stone.collected);
    for (std::size_t i = 0; i < app->energyStones.size(); ++i) {
        if (app->energyStones[i] != &stone) {
            EXPECT_FALSE(app->energyStones[i]->collected) << "stone " << i + 1;
        }
    }
    const glm::vec3 centre = stone.boundingSphere.worldCentre;
    for (int i = 0; i < 2; ++i) {
        const Explosion& burst = *app->players[i]->getExplosion();
        EXPECT_GT(burst.aliveCount, 0) << "player " << i + 1;
        // Set off in this update, after the sparks' own step: still at the stone.
        EXPECT_NEAR(glm::distance(burst.particles[0].position, centre), 0.0f, 1e-5f) << "player " << i + 1;
    }

    // The cars still stand on it, but the taken stone is not tried again: the
    // bursts fly on instead of starting over.
    app->update();
    for (int i = 0; i < 2; ++i) {
        const Explosion& burst = *app->players[i]->getExplosion();
        EXPECT_GT(burst.aliveCount, 0) << "player " << i + 1;
        EXPECT_GT(glm::distance(burst.particles[0].position, centre), 1e-3f) << "player " << i + 1;
    }
}

TEST_F(AppFrame, TheHeadlightRidesAtTheFrontOfPlayerOnesCarTippedOntoTheRoad)
{
    Car& car = *app->players[0]->getCar();
    const Light& headlight = *app->lights[1];
    for (int step = 0; step < 40; ++step) {
        deltaTime = 0.1;
        app->update();
        ASSERT_NEAR(glm::distance(headlight.position(), headlightPlace(car)), 0.0f, 1e-4f) << "step " << step;
    }
    // The script has driven the car a good way, so the light really followed.
    ASSERT_GT(glm::distance(positionOf(car), roomLayout::carStarts[0]), 5.0f);

    glm::vec3 beam = headlight.spotDirection();
    glm::vec3 ahead = forwardOf(car);
    EXPECT_GT(glm::dot(beam, ahead), 0.5f) << "the headlight does not shine ahead";
    EXPECT_LT(beam.y, ahead.y - 0.1f) << "the headlight is not tipped down";
}
