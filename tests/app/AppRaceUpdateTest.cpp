// The race update inside the whole application: light 2's closing scene, the
// spinning of stones, and the headlight on player 1's car. Each case steps the
// update without drawing.
#include "AppFrameTestSupport.h"

#include "render/Light.h"
#include "scene/RoomLayout.h"
#include "vehicles/Car.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"
#include "scene/GlmExpectations.h"
#include "vehicles/VehicleTestSupport.h"

#include <cmath>

using glm_expectations::near;
using vehicletest::headingDegrees;

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
    EXPECT_EQ(*light.modelMatrix, hanging);
    EXPECT_EQ(light.color(), colour);

    // The first move, along the room's axes, still runs at 124.5 s exactly;
    // the second, straight down, still at 126 s exactly. Neither turns it.
    stepTo(*app, 124.5, step);
    EXPECT_TRUE(near(light.position() - start, glm::vec3(10.0f, -4.0f, 8.0f) * float(step), 1e-4f));
    const glm::vec3 afterFirst = light.position();
    stepTo(*app, 126.0, step);
    EXPECT_TRUE(near(light.position() - afterFirst, glm::vec3(0.0f, -3.0f, 0.0f) * float(step), 1e-4f));
    EXPECT_TRUE(near(light.spotDirection(), direction, 1e-4f));
    EXPECT_EQ(light.color(), colour);

    // After 126 s it stays put, lifts its beam by 10 degrees a second about
    // the room's x axis and fades by half its colour per second.
    const glm::vec3 afterSecond = light.position();
    stepTo(*app, 126.5, step);
    EXPECT_NEAR(glm::distance(light.position(), afterSecond), 0.0f, 1e-4f);
    EXPECT_NEAR(degreesBetween(light.spotDirection(), direction), 10.0f * step, 0.01f);
    EXPECT_NEAR(light.spotDirection().x, direction.x, 1e-5f);
    EXPECT_GT(light.spotDirection().y, direction.y) << "the beam dipped instead of lifting";
    EXPECT_TRUE(near(light.color(), colour * float(1.0 - 0.5 * step), 1e-6f));

    // A two-second frame fades it all the way out.
    deltaTime = 2.0;
    app->update();
    EXPECT_EQ(light.color(), glm::vec3(0.0f));
}

TEST_F(AppFrame, StonesSpinOnTheSpotButATakenOneStaysPut)
{
    EnergyStone& taken = *app->energyStones[2];
    EnergyStone& untaken = *app->energyStones[3];
    taken.collected = true;
    const glm::mat4 takenPlacement = *taken.modelMatrix;
    const float untakenHeading = headingDegrees(*untaken.modelMatrix);
    const glm::vec3 untakenPlace = positionOf(untaken);

    deltaTime = 0.1;
    app->update();
    EXPECT_EQ(*taken.modelMatrix, takenPlacement);
    // 100 degrees a second anticlockwise seen from above, on the spot.
    EXPECT_NEAR(std::remainder(headingDegrees(*untaken.modelMatrix) - untakenHeading, 360.0f), 10.0f, 0.01f);
    EXPECT_NEAR(forwardOf(untaken).y, 0.0f, 1e-5f);
    EXPECT_NEAR(glm::distance(positionOf(untaken), untakenPlace), 0.0f, 1e-4f);

}

TEST_F(AppFrame, TheHeadlightRidesAtTheFrontOfPlayerOnesCarTippedOntoTheRoad)
{
    Car& car = *app->players[0]->getCar();
    const Light& headlight = *app->lights[1];
    // The restart left it at the origin; the settling update of the first
    // frame, before anything was drawn, put it on the car.
    EXPECT_NEAR(glm::distance(headlight.position(), headlightPlace(car)), 0.0f, 1e-4f) << "before the first step";
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
