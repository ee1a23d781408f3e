// The cars, stones and particle effects inside the whole application: where
// they stand, which passes draw them, and what the frame shows of them.
#include "AppFrameTestSupport.h"

#include "effects/Explosion.h"
#include "assets/Mesh.h"
#include "effects/Smoke.h"
#include "gl/Shader.h"
#include "render/Drawable.h"
#include "render/Geometry.h"
#include "render/ParallaxGeometry.h"
#include "render/ReflectiveGeometry.h"
#include "scene/RoomLayout.h"
#include "vehicles/Car.h"
#include "vehicles/CarMovement.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"
#include "vehicles/Wheel.h"

#include <algorithm>
#include <utility>

namespace {

// Forwards to a real object and counts what each pass asks of it.
class CountingDrawable : public Drawable {
public:
    explicit CountingDrawable(Drawable& object) : object(object) {}
    bool isDrawn() const override { return object.isDrawn(); }
    void drawShadow(const ShadowPass& pass) override { ++shadow, object.drawShadow(pass); }
    void drawToCubeMap(const CubeMapPass& pass) override { ++cube, object.drawToCubeMap(pass); }
    void draw(const LitPass& pass) override { ++lit, object.draw(pass); }
    void drawVelocity(const VelocityPass& pass) override { ++velocity, object.drawVelocity(pass); }
    void setLightMatrices(const glm::mat4& a, const glm::mat4& b, const glm::mat4& c) override
    {
        ++lightMatrices, object.setLightMatrices(a, b, c);
    }

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

        // Each wheel is drawn where it stands: seen from either side, taking
        // the tyres away changes the picture at the wheels on that side.
        const glm::vec3 sideways = glm::normalize(glm::vec3((*car.modelMatrix)[0]));
        const glm::vec3 axles = 0.5f * (wheels.wheelCentre(0) + wheels.wheelCentre(3));
        for (float side : {-1.0f, 1.0f}) {
            lookFrom(axles + side * 2.5f * sideways + glm::vec3(0.0f, 0.4f, 0.0f), axles);
            frame(0.0);
            const Image withWheels = readScene();
            const std::vector<Drawable*> saved = app->frameLists.phongLit;
            std::erase(app->frameLists.phongLit, static_cast<Drawable*>(&wheels));
            frame(0.0);
            app->frameLists.phongLit = saved;
            for (int w = 0; w < Wheel::count; ++w) {
                if ((roomLayout::cars[i].wheelOffsets[w].x < 0.0f) == (side < 0.0f)) {
                    EXPECT_GT(difference(withWheels, readScene(), project(wheels.wheelCentre(w)), 2), 8.0)
                        << "wheel " << w + 1;
                }
            }
        }
    }
}

TEST_F(AppFrame, StonesComeBackToTheirPlacesWithFreshHeadingsAndTheClockToZeroAtEveryRestart)
{
    auto headings = [] {
        std::vector<glm::vec3> forward;
        for (EnergyStone* stone : app->energyStones) {
            forward.push_back(glm::vec3((*stone->modelMatrix)[2]));
        }
        return forward;
    };
    app->energyStones[2]->collected = true;
    app->raceTime = 60.0;
    app->restart();
    EXPECT_EQ(app->raceTime, 0.0) << "the clock did not start again";
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

    EXPECT_EQ(counter.shadow + counter.cube + counter.lit + counter.velocity, 0);
    EXPECT_EQ(counter.lightMatrices, 1);
    EXPECT_EQ(drawCounter, litDrawsWithStone - 1);

    app->frameLists = saved;
}

TEST_F(AppFrame, PigReflectsWhatIsPlacedNearItAndTheTorusButNeverItself)
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
    EXPECT_GT(difference(readScene(), before, project(centre), 6), 1.5) << "mean change of the pig's pixels";

    // The torus turns beside the pig and shows in its mirror; the pig, seen
    // from inside its own skin, would hide everything else there.
    CountingDrawable torus(*app->parallaxObjects[1]), pig(*app->reflectiveObject);
    const FrameLists saved = app->frameLists;
    substitute(app->frameLists, &torus.object, &torus);
    substitute(app->frameLists, &pig.object, &pig);
    frame(0.0);
    app->frameLists = saved;
    EXPECT_EQ(torus.cube, 1);
    EXPECT_EQ(pig.cube, 0);
}

TEST_F(AppFrame, SmokeTrailsADrivenCarAndABurstShowsUntilItDies)
{
    // Effects replaced after the frame lists were built are the ones drawn:
    // the lists reach them through their players, and the old ones are gone.
    Car& car = *app->players[0]->getCar();
    Shader& particles = app->program("particle");
    TextureManager* textures = TextureManager::getInstance();
    car.setSmoke(new Smoke(particles, textures->textureId("smoke")));
    app->players[1]->setExplosion(new Explosion(particles, textures->textureId("explosion")));

    // Drive player 1's car straight ahead for two seconds, without its script.
    delete app->movements[0];
    app->movements[0] = new CarMovement("no script");
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
    EXPECT_GT(difference(smoky, clear, project(exhaust), 3), 3.0);

    // A burst at a stone in front of a still camera, and after it has died.
    Explosion& explosion = *app->players[1]->getExplosion();
    // Far from both cars, so neither plume is in the picture.
    glm::vec3 stone = roomLayout::stonePositions[2];
    lookFrom(stone + glm::vec3(0.0f, 2.0f, 9.0f), stone + glm::vec3(0.0f, 1.0f, 0.0f));
    explosion.trigger(stone.x, stone.y, stone.z);
    deltaTime = 0.25;
    app->update();
    auto [burst, noBurst] = withAndWithoutEffects();
    const Pixel above = project(stone + glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_GT(difference(burst, noBurst, above, 12), 4.0);

    for (int step = 0; step < 13; ++step) {
        deltaTime = 0.25;
        app->update();
    }
    EXPECT_EQ(explosion.aliveCount, 0);
    auto [after, afterClear] = withAndWithoutEffects();
    EXPECT_LT(difference(after, afterClear, above, 12), 0.5);
}
