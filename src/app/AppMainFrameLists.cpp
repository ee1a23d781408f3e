// The drawing order of every pass of the frame, in one place.
#include "app/AppMain.h"

#include "effects/Explosion.h"
#include "effects/Smoke.h"
#include "render/Geometry.h"
#include "render/Level.h"
#include "render/ParallaxGeometry.h"
#include "render/ReflectiveGeometry.h"
#include "vehicles/Car.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"
#include "vehicles/Wheel.h"

#include <initializer_list>

namespace {

template <typename Object>
void append(std::vector<Drawable*>& list, const Object& objects)
{
    list.insert(list.end(), objects.begin(), objects.end());
}

void append(std::vector<Drawable*>& list, std::initializer_list<Drawable*> objects)
{
    list.insert(list.end(), objects);
}

} // namespace

void AppMain::buildFrameLists()
{
    Geometry* room = level->room;
    Geometry* reducedRoom = reducedLevel->room;
    Geometry* pig = reflectiveObject;
    Geometry* plane = sceneGeometries[0];
    ParallaxGeometry* stoneWall = parallaxObjects[0];
    ParallaxGeometry* torus = parallaxObjects[1];
    ParallaxGeometry* reliefArmadillo = parallaxObjects[2];

    FrameLists& lists = frameLists;
    lists = FrameLists{};

    // Each car body is followed by its wheel set wherever cars are drawn.
    std::vector<Drawable*> cars;
    for (Player* player : players) {
        append(cars, {player->getCar(), player->getCar()->wheels});
    }

    for (Player* player : players) {
        Car* car = player->getCar();
        lists.preparation.push_back({car, "phong", false});
        lists.preparation.push_back({car->wheels->tyre, "phong", false});
    }
    for (Geometry* stoneMesh : stoneMeshes) {
        lists.preparation.push_back({stoneMesh, "phong", false});
    }
    lists.preparation.push_back({pig, "phong", true});
    for (Geometry* piece : sceneGeometries) {
        lists.preparation.push_back({piece, "phong", true});
    }
    // The relief pieces go through the parallax program's own preparation,
    // which adds the tangent frames.
    for (ParallaxGeometry* piece : parallaxObjects) {
        lists.preparation.push_back({piece, "parallax", true});
    }
    lists.preparation.push_back({room, "phong", true});
    lists.preparation.push_back({reducedRoom, "phong", true});

    // Collected stones too: they must be lit correctly the moment they return.
    append(lists.lightReceivers, {room, reducedRoom, stoneWall, torus, reliefArmadillo});
    append(lists.lightReceivers, cars);
    append(lists.lightReceivers, energyStones);
    append(lists.lightReceivers, {pig});
    append(lists.lightReceivers, sceneGeometries);

    append(lists.shadowCasters, energyStones);
    append(lists.shadowCasters, {pig});
    append(lists.shadowCasters, sceneGeometries);
    append(lists.shadowCasters, {stoneWall, torus, reliefArmadillo, room});
    append(lists.shadowCasters, cars);

    // The reflection shows the reduced room, the large pieces nearest the pig
    // and what moves past it; the 128-pixel faces could not show more.
    append(lists.cubeContents, {reducedRoom, plane, torus});
    append(lists.cubeContents, energyStones);
    append(lists.cubeContents, cars);

    append(lists.phongLit, {room, pig});
    append(lists.phongLit, sceneGeometries);
    append(lists.phongLit, energyStones);
    append(lists.phongLit, cars);
    append(lists.parallaxLit, parallaxObjects);

    // Each player's smoke, then the player's burst. The list keeps the
    // players, who own the effects, so an effect replaced after the lists
    // are built is the one drawn, and no list holds one that is gone.
    for (Player* player : players) {
        lists.transparentEffects.push_back([player](const Camera& camera) {
            if (Smoke* smoke = player->getCar()->smoke) {
                smoke->draw(camera);
            }
        });
        lists.transparentEffects.push_back([player](const Camera& camera) {
            if (Explosion* explosion = player->getExplosion()) {
                explosion->draw(camera);
            }
        });
    }

    append(lists.velocity, {room, stoneWall, pig});
    append(lists.velocity, energyStones);
    append(lists.velocity, {torus, reliefArmadillo});
    append(lists.velocity, sceneGeometries);
    for (std::size_t i = 0; i < players.size(); ++i) {
        Car* car = players[i]->getCar();
        lists.playerVelocity.push_back({static_cast<int>(i) + 1, {car, car->wheels}});
    }
}
