// Content loading: sounds, textures, lights, rooms and show pieces, in the
// order the showcase builds them, each placed and prepared for drawing.
#include "app/AppMain.h"

#include "effects/Explosion.h"
#include "assets/Mesh.h"
#include "effects/Smoke.h"
#include "assets/TextureManager.h"
#include "render/Geometry.h"
#include "render/Level.h"
#include "render/Light.h"
#include "render/ParallaxGeometry.h"
#include "render/ReflectiveGeometry.h"
#include "gl/Shader.h"
#include "scene/RoomLayout.h"
#include "sound/Music.h"
#include "vehicles/Car.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"
#include "vehicles/Wheel.h"

#include <string>

namespace {

const std::string modelFolder = roomLayout::modelFolder;
const std::string musicFolder = roomLayout::musicFolder;

// Diffuse, specular and ambient greys and the specular exponent of a piece.
void setMaterial(Geometry& geometry, float diffuse, float specular, float ambient, float shininess)
{
    geometry.materialColors[Geometry::diffuseColor] = glm::vec3(diffuse);
    geometry.materialColors[Geometry::specularColor] = glm::vec3(specular);
    geometry.materialColors[Geometry::ambientColor] = glm::vec3(ambient);
    geometry.shininess = shininess;
}

// Moves, turns, rolls and scales a piece that stands at its model's origin;
// a turn or roll of zero is left out, so no rounding creeps into the matrices.
void place(Geometry& piece, const roomLayout::Placement& placement)
{
    piece.translate(placement.position.x, placement.position.y, placement.position.z);
    if (placement.yawDegrees != 0.0f) {
        piece.rotateY(placement.yawDegrees);
    }
    if (placement.rollDegrees != 0.0f) {
        piece.rotateZ(placement.rollDegrees);
    }
    if (placement.scale != 1.0f) {
        piece.scale(placement.scale, placement.scale, placement.scale);
    }
}

void loadPiece(Geometry& piece, const std::string& file, bool withTangents, float diffuse, float specular,
               float ambient, float shininess)
{
    piece.mesh->loadMesh(modelFolder + file, withTangents);
    setMaterial(piece, diffuse, specular, ambient, shininess);
    piece.resetTransform();
}

} // namespace

void AppMain::loadContent()
{
    loadSounds();

    TextureManager* textures = TextureManager::getInstance();
    textures->loadTextureOrReport("smoke", true);
    textures->loadTextureOrReport("explosion", true);
    textures->createSceneTarget(quality.sceneScale);

    createLights();
    loadCars();
    loadRooms();
    loadShowPieces();
    loadStones();
    buildFrameLists();
    prepareGeometry();
    restart();
}

void AppMain::loadSounds()
{
    struct SoundFile {
        SoundSlot slot;
        const char* name;
        bool looping;
    };
    // Every one must load, heard or not: a showcase with a missing sound is broken.
    const SoundFile files[] = {
        {SoundSlot::PowerUp1, "powerup1.mp3", false}, {SoundSlot::PickUp, "powerup2.wav", false},
        {SoundSlot::PowerUp3, "powerup3.wav", false}, {SoundSlot::PowerUp4, "powerup4.mp3", false},
        {SoundSlot::Hit, "Hit.wav", false},           {SoundSlot::Engine1, "car1.wav", true},
        {SoundSlot::Engine2, "car2.wav", true},       {SoundSlot::Engine3, "car3.wav", true},
        {SoundSlot::Engine4, "car4.wav", true},       {SoundSlot::Music, "menu2.mp3", true},
    };
    for (const SoundFile& file : files) {
        music->loadSlot(file.slot, musicFolder + file.name, file.looping);
    }
    // The music plays louder while the start picture stands.
    music->play(SoundSlot::Music);
    music->setVolume(SoundSlot::Music, 0.7f);
}

void AppMain::createLights()
{
    const int mapSize = quality.shadowMapSize;
    lights[0] = new Light(0.5f, 3.0f, mapSize);
    lights[2] = new Light(0.5f, 5.0f, mapSize);
    lights[1] = new Light(0.6f, 6.0f, mapSize);
    lights[1]->setAttenuation({0.01f, 0.001f, 0.001f});
}

// Each player's car body and tyres, its exhaust smoke and the player's
// explosion, player 1 first.
void AppMain::loadCars()
{
    TextureManager* textures = TextureManager::getInstance();
    Shader& particle = program("particle");
    for (std::size_t i = 0; i < players.size(); ++i) {
        Player& player = *players[i];
        Car& car = *player.getCar();
        const roomLayout::CarModel& model = roomLayout::cars[i];
        car.mesh->loadMesh(modelFolder + model.bodyFile, false);
        Geometry& tyre = *car.wheels->tyre;
        tyre.mesh->loadMesh(modelFolder + roomLayout::tyreFile, false);
        player.setExplosion(new Explosion(particle, textures->textureId("explosion")));
        setMaterial(car, 0.6f, 0.2f, 0.1f, 180.0f);
        setMaterial(tyre, 0.6f, 0.1f, 0.1f, 180.0f);
        car.setSmoke(new Smoke(particle, textures->textureId("smoke")));
        car.exhaustPoint1 = glm::vec4(model.exhaustPoint, 1.0f);
        car.exhaustPoint2 = glm::vec4(model.exhaustPoint, 1.0f);
    }
}

void AppMain::loadRooms()
{
    level->room->mesh->loadMesh(modelFolder + "room3_recolored.obj", false);
    level->applyRoomMaterial();
    reducedLevel->room->mesh->loadMesh(modelFolder + "room3_reduced.obj", false);
    reducedLevel->applyRoomMaterial();

    level->startPositions.assign(roomLayout::carStarts.begin(), roomLayout::carStarts.end());
    level->lightPositions.assign(roomLayout::lightPositions.begin(), roomLayout::lightPositions.end());
}

void AppMain::loadShowPieces()
{
    reflectiveObject = new ReflectiveGeometry(quality.environmentFaceSize);
    loadPiece(*reflectiveObject, "pigLow.obj", false, 0.6f, 0.5f, 0.1f, 2000.0f);
    place(*reflectiveObject, roomLayout::pig);

    ParallaxGeometry& wall = *parallaxObjects[0];
    loadPiece(wall, "stoneWall2.obj", true, 0.6f, 0.3f, 0.1f, 20.0f);
    wall.setMaps("brick09n.jpg", "brick09b.jpg");
    wall.setSpecularMap("brick09s.jpg");

    ParallaxGeometry& torus = *parallaxObjects[1];
    loadPiece(torus, "torus.obj", true, 0.6f, 0.3f, 0.1f, 20.0f);
    torus.setMaps("rtrTexture_NRM.jpg", "rtrTexture_DISP.jpg");
    place(torus, roomLayout::torus);

    Geometry& plane = *sceneGeometries[0];
    loadPiece(plane, "plane_reduced.obj", false, 0.6f, 0.3f, 0.1f, 150.0f);
    place(plane, roomLayout::plane);

    ParallaxGeometry& reliefArmadillo = *parallaxObjects[2];
    loadPiece(reliefArmadillo, "armadilloNormalMap.obj", true, 0.6f, 0.3f, 0.1f, 10.0f);
    reliefArmadillo.setMaps("sampledNormals.jpg", "sampledDisplacement.jpg");
    place(reliefArmadillo, roomLayout::reliefArmadillo);

    Geometry& armadillo = *sceneGeometries[1];
    loadPiece(armadillo, "armadilloNormalMap.obj", false, 0.6f, 0.3f, 0.1f, 10.0f);
    place(armadillo, roomLayout::plainArmadillo);

    for (std::size_t i = 0; i < roomLayout::pedestals.size(); ++i) {
        Geometry& pedestal = *sceneGeometries[2 + i];
        loadPiece(pedestal, "podest.obj", false, 0.6f, 0.3f, 0.1f, 80.0f);
        place(pedestal, roomLayout::pedestals[i]);
    }
}

// Three stone models shared by six stones: green, yellow, red, twice.
void AppMain::loadStones()
{
    const char* const files[] = {"stoneG.obj", "stoneY.obj", "stoneR.obj"};
    for (std::size_t i = 0; i < stoneMeshes.size(); ++i) {
        stoneMeshes[i]->mesh->loadMesh(modelFolder + files[i], false);
        setMaterial(*stoneMeshes[i], 0.6f, 0.3f, 0.1f, 150.0f);
    }
    for (std::size_t i = 0; i < energyStones.size(); ++i) {
        energyStones[i]->setGeometry(stoneMeshes[i % stoneMeshes.size()]);
    }
}

void AppMain::prepareGeometry()
{
    for (const FrameLists::Preparation& entry : frameLists.preparation) {
        entry.geometry->prepare(program(entry.program), entry.textured);
    }
}
