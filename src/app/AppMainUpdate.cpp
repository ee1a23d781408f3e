// The per-frame update of the race: the clock and the race's end, the engine
// sounds, light 2's closing scene, the cars under their scripts, the turning
// show pieces, the headlight, the light matrices and the stones.
#include "app/AppMain.h"

#include "effects/Explosion.h"
#include "assets/Mesh.h"
#include "render/Geometry.h"
#include "render/Level.h"
#include "render/Light.h"
#include "render/ParallaxGeometry.h"
#include "render/ReflectiveGeometry.h"
#include "scene/CameraPath.h"
#include "scene/Footprints.h"
#include "scene/RaceTimeline.h"
#include "settings/Settings.h"
#include "sound/Channel.h"
#include "sound/Music.h"
#include "vehicles/Car.h"
#include "vehicles/CarMovement.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

void AppMain::advance(double frameSeconds, const StepHook& afterEachStep)
{
    auto step = [&](double seconds) {
        deltaTime = seconds;
        update();
        if (afterEachStep) {
            afterEachStep(seconds);
        }
    };
    if (!settled) {
        step(0.0);
    }
    const RaceClock::Frame frame = raceClock.frame(frameSeconds);
    for (int i = 0; i < frame.steps; ++i) {
        step(frame.stepSeconds);
    }
    frameRaceSeconds = frame.raceSeconds;
}

void AppMain::seek(double time)
{
    const double step = raceClock.seekStep();
    const long steps = std::max(0L, std::lround(time / step));
    const RaceStart start = raceStart;
    replaying = true;
    replayedSeconds = 0.0;
    start.restore(*this);
    startRace(start.firstStepSeconds());
    // The race's first update, as it ran: at race time 0, moving things by
    // nothing or by the step that ended the race before.
    raceTime = -start.firstStepSeconds();
    deltaTime = start.firstStepSeconds();
    update();
    for (long i = 0; i < steps; ++i) {
        deltaTime = step;
        update();
        replayedSeconds += step;
    }
    replaying = false;
    settled = true;
    raceClock.dropCarry();
    // A jump, not a motion: the next frame draws no smear.
    frameRaceSeconds = 0.0;
    activeCamera->storePreviousTransform();
    if (FMOD::Channel* channel = music->channel(SoundSlot::Music)) {
        channel->setPosition(replayedMusicMilliseconds(start));
    }
}

void AppMain::update()
{
    raceTime += deltaTime;
    // The race starts over in the step after the camera path has run out;
    // the rest of this step already belongs to the new race.
    if (cameraPath->endTime < raceTime) {
        startRace(deltaTime);
    }
    for (int i = 0; i < numPlayers; ++i) {
        music->updateEngine(i, *players[i]->getCar()->speed);
    }
    playLightingScene();
    applyControls();
    turnShowPieces();
    moveCars();
    lights[1]->attachTo(*players[0]->getCar()->modelMatrix);
    updateShadowMatrices();
    collectStones();
    settled = true;
}

// Near the end of a race light 2 swings down over the show pieces and fades.
// It hangs turned by -135 degrees, so each move undoes the turn, moves along
// the room's axes and turns back.
void AppMain::playLightingScene()
{
    using namespace raceTimeline;
    Light& light = *lights[2];
    double t = raceTime;
    if (t <= lightSwingStart) {
        return;
    }
    light.rotateX(135.0f);
    if (t <= lightDropStart) {
        light.translateOverTime(10.0f, -4.0f, 8.0f);
    } else if (t <= lightFadeStart) {
        light.translateOverTime(0.0f, -3.0f, 0.0f);
    } else {
        light.rotateXOverTime(-10.0f);
    }
    light.rotateX(-135.0f);
    if (t > lightFadeStart) {
        light.setColor(light.color() * static_cast<float>(1.0 - 0.5 * deltaTime));
    }
}

void AppMain::turnShowPieces()
{
    ParallaxGeometry& torus = *parallaxObjects[1];
    torus.rotateYOverTime(100.0f);
    torus.rotateXOverTime(80.0f);
    parallaxObjects[2]->rotateYOverTime(100.0f);
    sceneGeometries[1]->rotateYOverTime(100.0f);
    sceneGeometries[2]->rotateYOverTime(100.0f);
    sceneGeometries[3]->rotateYOverTime(100.0f);
}

// Both cars take the controls their scripts hold at this moment of the race;
// the front wheels point straight unless a steering control turns them.
void AppMain::applyControls()
{
    for (std::size_t i = 0; i < players.size(); ++i) {
        players[i]->getCar()->applyControls(movements[i]->flagsAt(static_cast<float>(raceTime)));
    }
}

// Each car rolls on by its speed, carrying its wheels, chase camera and
// smoke along; each player's burst, if one is running, flies on.
void AppMain::moveCars()
{
    for (int i = 0; i < numPlayers; ++i) {
        players[i]->getCar()->updateMotion();
        players[i]->getExplosion()->update();
    }
}

void AppMain::updateShadowMatrices()
{
    const glm::mat4& light1 = lights[0]->textureMatrix();
    const glm::mat4& light2 = lights[1]->textureMatrix();
    const glm::mat4& light3 = lights[2]->textureMatrix();
    for (Drawable* receiver : frameLists.lightReceivers) {
        receiver->setLightMatrices(light1, light2, light3);
    }
}

// Stones spin until a car touches one: then it is gone until the next race,
// with the pick-up sound and a burst of the player's sparks where it stood.
// Both cars are tried, so two cars on one stone in one frame both burst.
void AppMain::collectStones()
{
    for (std::size_t s = 0; s < energyStones.size(); ++s) {
        EnergyStone* stone = energyStones[s];
        if (stone->collected) {
            continue;
        }
        stone->rotateYOverTime(100.0f);
        for (std::size_t p = 0; p < players.size(); ++p) {
            Player* player = players[p];
            if (footprintsOverlap(stone->boundingBox.footprint, player->getCar()->mesh->boundingBox.footprint)) {
                stone->collected = true;
                const glm::vec3& centre = stone->boundingSphere.worldCentre;
                player->getExplosion()->trigger(centre.x, centre.y, centre.z);
                // A seek runs the race again in an instant: what was heard and told is not repeated.
                if (!replaying) {
                    music->play(SoundSlot::PickUp);
                    if (announcePickUps) {
                        reportPickUp(static_cast<int>(s) + 1, static_cast<int>(p) + 1);
                    }
                }
            }
        }
    }
}

// One line a pick-up, so a viewer (or a script) can tell the race by its
// times: the same race gives the same times at any frame rate.
void AppMain::reportPickUp(int stone, int player) const
{
    std::printf("Stone %d taken by player %d at %.3f s of race.\n", stone, player, raceTime);
}
