// The per-frame update of the race: the clock, light 2's closing scene, the
// turning show pieces, the cars and their bursts, and the light matrices every
// lit object needs.
#include "app/AppMain.h"

#include "assets/Explosion.h"
#include "render/Geometry.h"
#include "render/Level.h"
#include "render/Light.h"
#include "render/ParallaxGeometry.h"
#include "render/ReflectiveGeometry.h"
#include "settings/Settings.h"
#include "vehicles/Car.h"
#include "vehicles/Player.h"

void AppMain::update()
{
    raceTime += deltaTime;
    playLightingScene();
    turnShowPieces();
    moveCars();
    updateShadowMatrices();
}

// Near the end of a race light 2 swings down over the show pieces and fades.
// It hangs turned by -135 degrees, so each move undoes the turn, moves along
// the room's axes and turns back.
void AppMain::playLightingScene()
{
    Light& light = *lights[2];
    double t = raceTime;
    if (t <= 122.0) {
        return;
    }
    light.rotateX(135.0f);
    if (t <= 124.5) {
        light.translateOverTime(10.0f, -4.0f, 8.0f);
    } else if (t <= 126.0) {
        light.translateOverTime(0.0f, -3.0f, 0.0f);
    } else {
        light.rotateXOverTime(-10.0f);
    }
    light.rotateX(-135.0f);
    if (t > 126.0) {
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
