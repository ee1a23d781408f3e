// The cars, stones and particle effects inside the whole application: where
// they stand, which passes draw them, and what the frame shows of them.
#include "AppFrameTestSupport.h"

#include "effects/Explosion.h"
#include "assets/Mesh.h"
#include "effects/Smoke.h"
#include "render/Drawable.h"
#include "render/Geometry.h"
#include "render/Level.h"
#include "scene/RoomLayout.h"
#include "vehicles/Car.h"
#include "vehicles/CarMovement.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"
#include "vehicles/Wheel.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Forwards to a real object and counts what each pass asks of it.
class CountingDrawable : public Drawable {
public:
    explicit CountingDrawable(Drawable& object) : object(object) {}
    bool isDrawn() const override { return object.isDrawn(); }
    void drawShadow(const ShadowPass& pass) override
    {
        ++shadow;
        object.drawShadow(pass);
    }
    void drawToCubeMap(const CubeMapPass& pass) override
    {
        ++cube;
        object.drawToCubeMap(pass);
    }
    void draw(const LitPass& pass) override
    {
        ++lit;
        object.draw(pass);
    }
    void drawVelocity(const VelocityPass& pass) override
    {
        ++velocity;
        object.drawVelocity(pass);
    }
    void setLightMatrices(const glm::mat4& a, const glm::mat4& b, const glm::mat4& c) override
    {
        ++lightMatrices;
        object.setLightMatrices(a, b, c);
    }
    int draws() const { return shadow + cube + lit + velocity; }

    Drawable& object;
    int shadow = 0, cube = 0, lit = 0, velocity = 0, lightMatrices = 0;
};

// Puts a counting stand-in wherever the object appears in the frame lists.
void substitute(FrameLists& lists, Drawable* object, Drawable* standIn)
{
    for (auto* list : {&lists.lightReceivers, &lists.shadowCasters, &lists.cubeContents, &lists.phongLit,
                       &lists.parallaxLit, &lists.velocity}) {
        std::replace(list->begin(), list->end(), object, standIn);
    }
}

// Mean absolute channel difference over a square around a pixel.
double difference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int cx, int cy, int radius, int width,
                  int height)
{
    double sum = 0.0;
    int count = 0;
    for (int y = std::max(cy - radius, 0); y <= std::min(cy + radius, height - 1); ++y) {
        for (int x = std::max(cx - radius, 0); x <= std::min(cx + radius, width - 1); ++x) {
            for (int c = 0; c < 3; ++c) {
                std::size_t i = static_cast<std::size_t>((y * width + x) * 3 + c);
                sum += std::abs(int(a[i]) - int(b[i]));
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : 0.0;
}

} // namespace

TEST_F(AppFrame, CarsStandOnTheFloorWithFourWheelsWhereTheirModelsHaveThem)
{
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i == 0 ? "player 1" : "player 2");
        Car& car = *app->players[static_cast<std::size_t>(i)]->getCar();
        Wheel& wheels = *car.wheels;
        EXPECT_NEAR(glm::distance(positionOf(car), roomLayout::carStarts[static_cast<std::size_t>(i)]), 0.0f, 1e-5f);

        const BoundingBox& tyreBox = wheels.tyre->mesh->boundingBox;
        float tyreRadius = 0.5f * (tyreBox.upper.y - tyreBox.lower.y);
        for (int w = 0; w < Wheel::count; ++w) {
            glm::vec3 expected = glm::vec3(*car.modelMatrix * glm::vec4(roomLayout::cars[i].wheelOffsets[w], 1.0f));
            EXPECT_NEAR(glm::distance(wheels.wheelCentre(w), expected), 0.0f, 1e-4f) << "wheel " << w + 1;
            // Every tyre touches the floor: neither sunk into it nor floating.
            EXPECT_NEAR(wheels.wheelCentre(w).y - tyreRadius, roomLayout::floorTop, 0.05f) << "wheel " << w + 1;
        }

        // Each wheel is drawn where it stands: seen from outside along its
        // axle, taking the tyres away changes the picture at its centre.
        glm::vec3 sideways = glm::normalize(glm::vec3((*car.modelMatrix)[0]));
        for (int w = 0; w < Wheel::count; ++w) {
            glm::vec3 centre = wheels.wheelCentre(w);
            float side = roomLayout::cars[i].wheelOffsets[w].x < 0.0f ? -1.0f : 1.0f;
            lookFrom(centre + side * 2.5f * sideways + glm::vec3(0.0f, 0.4f, 0.0f), centre);
            frame(0.0);
            Image withWheels = readScene();
            std::vector<Drawable*> saved = app->frameLists.phongLit;
            std::erase(app->frameLists.phongLit, static_cast<Drawable*>(&wheels));
            frame(0.0);
            Image withoutWheels = readScene();
            app->frameLists.phongLit = saved;
            Pixel p = project(centre);
            EXPECT_GT(difference(withWheels, withoutWheels, p.x, p.y, 2, width, height), 8.0) << "wheel " << w + 1;
        }
    }
}

TEST_F(AppFrame, StonesComeBackToTheirPlacesWithFreshHeadingsAtEveryRestart)
{
    auto headings = [] {
        std::vector<glm::vec3> forward;
        for (EnergyStone* stone : app->energyStones) {
            forward.push_back(glm::vec3((*stone->modelMatrix)[2]));
        }
        return forward;
    };
    app->energyStones[2]->collected = true;
    app->restart();
    std::vector<glm::vec3> first = headings();
    app->restart();
    std::vector<glm::vec3> second = headings();

    int turnedAgain = 0;
    for (std::size_t i = 0; i < app->energyStones.size(); ++i) {
        const EnergyStone& stone = *app->energyStones[i];
        EXPECT_FALSE(stone.collected) << "stone " << i + 1;
        EXPECT_NEAR(glm::distance(positionOf(stone), roomLayout::stonePositions[i]), 0.0f, 1e-4f) << "stone " << i + 1;
        // The footprint and culling sphere came along to the stone's place.
        EXPECT_LT(glm::distance(stone.boundingSphere.worldCentre, roomLayout::stonePositions[i]), 1.5f);
        turnedAgain += glm::distance(first[i], second[i]) > 1e-3f ? 1 : 0;
    }
    // Six headings of 360 each all drawn the same twice: once in 2e15 runs.
    EXPECT_GT(turnedAgain, 0);
    // Stones share the three stone models in the order green, yellow, red.
    for (std::size_t i = 0; i < app->energyStones.size(); ++i) {
        EXPECT_EQ(app->energyStones[i]->geometry, app->stoneMeshes[i % 3]);
    }
}

TEST_F(AppFrame, ACollectedStoneIsDrawnInNoPassButStillGetsItsLights)
{
    EnergyStone& stone = *app->energyStones[0];
    CountingDrawable counter(stone);
    FrameLists saved = app->frameLists;
    substitute(app->frameLists, &stone, &counter);
    lookFrom(positionOf(stone) + glm::vec3(0.0f, 3.0f, 6.0f), positionOf(stone));

    frame(0.0);
    // Three shadow maps, the pig's cube, the lit scene and the velocity pass.
    EXPECT_EQ(counter.shadow, 3);
    EXPECT_EQ(counter.cube, 1);
    EXPECT_EQ(counter.lit, 1);
    EXPECT_EQ(counter.velocity, 1);
    std::uint32_t litDrawsWithStone = drawCounter;

    stone.collected = true;
    counter.shadow = counter.cube = counter.lit = counter.velocity = counter.lightMatrices = 0;
    frame(app->raceClock.step()); // one race step

    EXPECT_EQ(counter.draws(), 0);
    EXPECT_EQ(counter.lightMatrices, 1);
    EXPECT_EQ(drawCounter, litDrawsWithStone - 1);

    app->frameLists = saved;
}

TEST_F(AppFrame, AStoneCastsAShadowOnTheFloor)
{
    const glm::vec3 floorPoint(0.0f, roomLayout::floorTop, -15.0f);
    lookFrom(floorPoint + glm::vec3(0.0f, 2.0f, 4.0f), floorPoint);

    // Hung just above the floor point, straight under the ceiling light.
    EnergyStone& stone = *app->energyStones[3];
    glm::vec3 light = app->level->lightPositions[0];
    glm::vec3 above = floorPoint + 0.08f * (light - floorPoint);
    stone.resetTransform();
    stone.translate(above.x, above.y, above.z);

    stone.collected = true;
    frame(0.0);
    double lit = brightness(readScene(), project(floorPoint), 2);
    stone.collected = false;
    frame(0.0);
    Image shadowed = readScene();
    dump("stone_shadow", shadowed);
    double dark = brightness(shadowed, project(floorPoint), 2);

    EXPECT_GT(lit, 20.0);
    EXPECT_LT(dark, lit * 0.85) << "lit " << lit << ", under the stone " << dark;
}

TEST_F(AppFrame, SmokeTrailsADrivenCarAndABurstShowsUntilItDies)
{
    // Drive player 1's car straight ahead for two seconds, without its script.
    delete app->movements[0];
    app->movements[0] = new CarMovement("no script");
    Car& car = *app->players[0]->getCar();
    for (int step = 0; step < 60; ++step) {
        deltaTime = 1.0 / 30.0;
        car.accelerate();
        app->update();
    }
    EXPECT_GT(*car.speed, 10.0f);
    glm::vec3 forward = glm::normalize(glm::vec3(*car.modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f)));
    EXPECT_GT(glm::dot(positionOf(car) - roomLayout::carStarts[0], forward), 10.0f);

    // Every puff is at the exhaust or drifting back and up from it, never ahead.
    const Smoke& smoke = *car.smoke;
    glm::vec3 exhaust = glm::vec3(*car.modelMatrix * car.exhaustPoint1);
    for (int i = 0; i < smoke.particleCount; ++i) {
        glm::vec3 offset = smoke.particles[static_cast<std::size_t>(i)].position - exhaust;
        EXPECT_LT(glm::dot(offset, forward), 0.15f) << "puff " << i;
        EXPECT_LT(glm::length(offset), 1.0f) << "puff " << i;
    }

    // The plume shows: behind the car, the picture differs with and without effects.
    lookFrom(exhaust + glm::vec3(-3.0f, 1.0f, 0.0f) + 3.0f * -forward, exhaust);
    auto withAndWithoutEffects = [] {
        frame(0.0);
        Image with = readScene();
        std::vector<FrameLists::Effect> effects = std::move(app->frameLists.transparentEffects);
        app->frameLists.transparentEffects.clear();
        frame(0.0);
        Image without = readScene();
        app->frameLists.transparentEffects = std::move(effects);
        return std::pair(with, without);
    };
    auto [smoky, clear] = withAndWithoutEffects();
    dump("smoke", smoky);
    Pixel pipe = project(exhaust);
    EXPECT_GT(difference(smoky, clear, pipe.x, pipe.y, 3, width, height), 3.0);

    // A burst at a stone in front of a still camera, and after it has died.
    Explosion& explosion = *app->players[1]->getExplosion();
    // Far from both cars, so neither plume is in the picture.
    glm::vec3 stone = roomLayout::stonePositions[2];
    lookFrom(stone + glm::vec3(0.0f, 2.0f, 9.0f), stone + glm::vec3(0.0f, 1.0f, 0.0f));
    explosion.trigger(stone.x, stone.y, stone.z);
    deltaTime = 0.25;
    app->update();
    auto [burst, noBurst] = withAndWithoutEffects();
    dump("burst", burst);
    Pixel above = project(stone + glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_GT(difference(burst, noBurst, above.x, above.y, 12, width, height), 4.0);

    for (int step = 0; step < 13; ++step) {
        deltaTime = 0.25;
        app->update();
    }
    EXPECT_EQ(explosion.aliveCount, 0);
    auto [after, afterClear] = withAndWithoutEffects();
    EXPECT_LT(difference(after, afterClear, above.x, above.y, 12, width, height), 0.5);
}
