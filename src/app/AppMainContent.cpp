// Content loading: sounds, textures, lights, rooms and show pieces, in the
// order the showcase builds them, each placed and prepared for drawing.
#include "app/AppMain.h"

#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "render/Geometry.h"
#include "render/Light.h"
#include "render/ParallaxGeometry.h"
#include "render/ReflectiveGeometry.h"
#include "render/Shader.h"
#include "render/Level.h"
#include "sound/Music.h"

#include <string>

namespace {

const std::string modelFolder = "../brimbolt/models/";
const std::string musicFolder = "../brimbolt/music/";

// Diffuse, specular and ambient greys and the specular exponent of a piece.
void setMaterial(Geometry& geometry, float diffuse, float specular, float ambient, float shininess)
{
    geometry.materialColors[Geometry::diffuseColor] = glm::vec3(diffuse);
    geometry.materialColors[Geometry::specularColor] = glm::vec3(specular);
    geometry.materialColors[Geometry::ambientColor] = glm::vec3(ambient);
    geometry.shininess = shininess;
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
    textures->loadTexture("smoke", true);
    textures->loadTexture("explosion", true);
    textures->createSceneTarget();

    createLights();
    loadRooms();
    loadShowPieces();
    prepareGeometry();
    restart();
}

void AppMain::loadSounds()
{
    struct SoundFile {
        int slot;
        const char* name;
        bool looping;
    };
    // Every one must load, heard or not: a showcase with a missing sound is broken.
    const SoundFile files[] = {
        {1, "powerup1.mp3", false}, {2, "powerup2.wav", false}, {3, "powerup3.wav", false},
        {4, "powerup4.mp3", false}, {8, "Hit.wav", false},      {14, "car1.wav", true},
        {15, "car2.wav", true},     {16, "car3.wav", true},     {17, "car4.wav", true},
        {0, "menu2.mp3", true},
    };
    for (const SoundFile& file : files) {
        music->loadSlot(file.slot, musicFolder + file.name, file.looping);
    }
    // The music plays louder while the start picture stands.
    music->play(0);
    music->setVolume(0, 0.7f);
}

void AppMain::createLights()
{
    lights[0] = new Light(0.5f, 3.0f);
    lights[2] = new Light(0.5f, 5.0f);
    lights[1] = new Light(0.6f, 6.0f);
    lights[1]->setAttenuation({0.01f, 0.001f, 0.001f});
}

void AppMain::loadRooms()
{
    level->room->mesh->loadMesh(modelFolder + "room3_recolored.obj", false);
    level->applyRoomMaterial();
    reducedLevel->room->mesh->loadMesh(modelFolder + "room3_reduced.obj", false);
    reducedLevel->applyRoomMaterial();

    level->startPositions = {{10.0f, -0.1f, 15.0f}, {15.0f, 0.22f, 15.0f}};
    level->lightPositions = {{0.0f, 48.0f, 5.0f}, {-35.0f, 29.0f, -50.0f}, {-35.0f, 30.0f, 45.0f}};
}

void AppMain::loadShowPieces()
{
    reflectiveObject = new ReflectiveGeometry();
    loadPiece(*reflectiveObject, "pigLow.obj", false, 0.6f, 0.5f, 0.1f, 2000.0f);
    reflectiveObject->translate(-5.0f, -0.7f, 0.0f);
    reflectiveObject->rotateY(110.0f);

    ParallaxGeometry& wall = *parallaxObjects[0];
    loadPiece(wall, "stoneWall2.obj", true, 0.6f, 0.3f, 0.1f, 20.0f);
    wall.setMaps("brick09n.jpg", "brick09b.jpg");
    wall.setSpecularMap("brick09s.jpg");

    ParallaxGeometry& torus = *parallaxObjects[1];
    loadPiece(torus, "torus.obj", true, 0.6f, 0.3f, 0.1f, 20.0f);
    torus.setMaps("rtrTexture_NRM.jpg", "rtrTexture_DISP.jpg");
    torus.translate(-20.0f, 3.0f, 20.0f);
    torus.rotateZ(90.0f);
    torus.scale(0.5f, 0.5f, 0.5f);

    Geometry& plane = *sceneGeometries[0];
    loadPiece(plane, "plane_reduced.obj", false, 0.6f, 0.3f, 0.1f, 150.0f);
    plane.translate(-20.0f, 0.0f, -35.0f);
    plane.rotateY(45.0f);

    ParallaxGeometry& reliefArmadillo = *parallaxObjects[2];
    loadPiece(reliefArmadillo, "armadilloNormalMap.obj", true, 0.6f, 0.3f, 0.1f, 10.0f);
    reliefArmadillo.setMaps("sampledNormals.jpg", "sampledDisplacement.jpg");
    reliefArmadillo.translate(-30.0f, 0.0f, 60.0f);
    reliefArmadillo.scale(2.0f, 2.0f, 2.0f);

    Geometry& armadillo = *sceneGeometries[1];
    loadPiece(armadillo, "armadilloNormalMap.obj", false, 0.6f, 0.3f, 0.1f, 10.0f);
    armadillo.translate(-36.0f, 0.0f, 60.0f);
    armadillo.scale(2.0f, 2.0f, 2.0f);

    const float pedestalRows[] = {-30.0f, -36.0f};
    for (int i = 0; i < 2; ++i) {
        Geometry& pedestal = *sceneGeometries[2 + i];
        loadPiece(pedestal, "podest.obj", false, 0.6f, 0.3f, 0.1f, 80.0f);
        pedestal.translate(pedestalRows[i], -0.5f, 60.0f);
        pedestal.scale(2.0f, 2.0f, 2.0f);
    }
}

void AppMain::prepareGeometry()
{
    Shader& phong = *shaders["phong"];
    Shader& parallax = *shaders["parallax"];
    reflectiveObject->prepare(phong, true);
    for (Geometry* geometry : sceneGeometries) {
        geometry->prepare(phong, true);
    }
    for (ParallaxGeometry* piece : parallaxObjects) {
        piece->prepare(parallax, true);
    }
    level->room->prepare(phong, true);
    reducedLevel->room->prepare(phong, true);
}
