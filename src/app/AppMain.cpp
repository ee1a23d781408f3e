#include "app/AppMain.h"

#include "app/WindowSize.h"
#include "assets/TextureManager.h"
#include "effects/UserInterface.h"
#include "platform/GLLoader.h"
#include "render/Geometry.h"
#include "render/Level.h"
#include "render/Light.h"
#include "render/ParallaxGeometry.h"
#include "render/ReflectiveGeometry.h"
#include "gl/Shader.h"
#include "gl/ShaderLocation.h"
#include "scene/Camera.h"
#include "scene/CameraPath.h"
#include "scene/RoomLayout.h"
#include "settings/Settings.h"
#include "sound/Channel.h"
#include "sound/Music.h"
#include "vehicles/Car.h"
#include "vehicles/CarMovement.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"

#include <epoxy/gl.h>

#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// Registry name, file base name and fragment output of every program the frame uses.
struct ProgramFiles {
    const char* name;
    const char* baseName;
    const char* output;
};
constexpr ProgramFiles programFiles[] = {
    {"phong", "phongShader", "out_color"},
    {"parallax", "parallaxShader", "out_color"},
    {"shadow", "shadowShader", "out_moments"},
    {"particle", "particleShader", "out_color"},
    {"motionblur", "blurShader", "out_color"},
    {"environmentCube", "environmentCubeShader", "out_color"},
};

template <typename Owned>
void deleteEach(const Owned& objects)
{
    for (auto* object : objects) {
        delete object;
    }
}

} // namespace

AppMain::AppMain(SoundOutput soundOutput)
{
    width = windowWidth;
    height = windowHeight;
    numPlayers = 2;
    players[0] = new Player("Player 1");
    players[1] = new Player("Player 2");
    // Stone headings and particles draw from rand.
    randomSeed = static_cast<unsigned>(std::time(nullptr));
    std::srand(randomSeed);
    for (Geometry*& geometry : sceneGeometries) {
        geometry = new Geometry();
    }
    for (Geometry*& stoneMesh : stoneMeshes) {
        stoneMesh = new Geometry();
    }
    for (EnergyStone*& stone : energyStones) {
        stone = new EnergyStone();
    }
    level = new Level();
    reducedLevel = new Level();
    for (ParallaxGeometry*& piece : parallaxObjects) {
        piece = new ParallaxGeometry();
    }
    camera = new Camera();
    activeCamera = camera;
    music = soundOutput == SoundOutput::Capture ? new Music(FMOD::FMOD_INIT_CAPTURE) : new Music();
}

AppMain::~AppMain()
{
    delete level;
    delete reducedLevel;
    delete music;
    deleteEach(players);
    deleteEach(stoneMeshes);
    deleteEach(energyStones);
    delete reflectiveObject;
    deleteEach(sceneGeometries);
    deleteEach(parallaxObjects);
    for (auto& [name, shader] : shaders) {
        delete shader;
    }
    deleteEach(lights);
    delete userInterface;
    delete camera;
    delete cameraPath;
    deleteEach(movements);
    statusTimer.reset(); // its queries belong to the context
    // The texture cache outlives the application, but its GL objects must go
    // while the context they belong to still exists.
    TextureManager::getInstance()->releaseGLObjects();
    // Closes the window and gives the desktop its own video mode back.
    window.terminate();
}

bool AppMain::initWindow()
{
    window.init();
    window.openWindowHint(platform::GLFW_OPENGL_VERSION_MAJOR, 3);
    window.openWindowHint(platform::GLFW_OPENGL_VERSION_MINOR, 3);
    window.openWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);

    if (windowMode == platform::GLFW_FULLSCREEN) {
        platform::VideoMode desktop;
        window.getDesktopMode(&desktop);
        WindowSize size = WindowSize::choose(windowMode, desktop, width, height, maxWidth, maxHeight);
        width = windowWidth = size.width;
        height = windowHeight = size.height;
    }

    if (window.openWindow(width, height, 0, 0, 0, 0, 24, 8, windowMode) != GLFW_TRUE) {
        errorMessage = "Failed to initialize OpenGL window.";
        window.terminate();
        return false;
    }
    window.setWindowTitle("Brimbolt");

    if (!platform::loadGLFunctions()) {
        return false;
    }

    glEnable(GL_FRAMEBUFFER_SRGB);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_PROGRAM_POINT_SIZE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Window creation may leave an error queued; later error checks should only see our own.
    glGetError();
    return true;
}

void AppMain::loadShaders()
{
    for (const ProgramFiles& files : programFiles) {
        shaders[files.name] = new Shader(std::string(roomLayout::shaderFolder) + files.baseName);
    }
    for (const ProgramFiles& files : programFiles) {
        if (program(files.name).program() == 0) {
            throw "Could not compile minimal shader program.";
        }
    }
    for (const ProgramFiles& files : programFiles) {
        bindFragmentOutput(program(files.name), files.output);
    }
    // The programs that have a cheaper way read it from "quality" (0: full).
    for (const char* name : {"parallax", "motionblur", "environmentCube"}) {
        Shader& cheaper = program(name);
        glUseProgram(cheaper.program());
        glUniform1i(cheaper.location(ShaderLocation::quality), quality.isFast() ? 1 : 0);
    }
    // Points are sized in pixels of the scene image, which may be smaller than the window.
    Shader& particles = program("particle");
    glUseProgram(particles.program());
    glUniform1f(particles.location(ShaderLocation::sceneScale), quality.sceneScale);
    glUseProgram(0);
    userInterface = new UserInterface();
}

Shader& AppMain::program(const std::string& name) const
{
    const auto found = shaders.find(name);
    if (found == shaders.end() || !found->second) {
        throw std::runtime_error("no shader program named '" + name + "'");
    }
    return *found->second;
}

void AppMain::restart()
{
    // The next advance settles the race with an update of no length.
    startRace(0.0);
    raceClock.dropCarry();
    settled = false;
}

void AppMain::startRace(double firstStepSeconds)
{
    // During a seek the music's place follows the race seconds run again.
    raceStart.capture(*this, firstStepSeconds, replaying ? replayedMusicMilliseconds(raceStart) : musicMilliseconds());
    raceTime = 0.0;
    placeLights();
    readScripts();
    placeCars();
    placeStones();
}

unsigned AppMain::musicMilliseconds() const
{
    unsigned milliseconds = 0;
    if (FMOD::Channel* channel = music->channel(SoundSlot::Music)) {
        channel->getPosition(&milliseconds);
    }
    return milliseconds;
}

unsigned AppMain::replayedMusicMilliseconds(const RaceStart& from) const
{
    return from.musicMilliseconds() + static_cast<unsigned>(replayedSeconds * 1000.0);
}

std::array<Geometry*, 5> AppMain::turningPieces() const
{
    return {parallaxObjects[1], parallaxObjects[2], sceneGeometries[1], sceneGeometries[2], sceneGeometries[3]};
}

// Lights 0 and 2 hang at their places in the room; light 1 is the headlight and
// stays at its own origin until something carries it.
void AppMain::placeLights()
{
    auto resetLight = [](Light& light) {
        light.resetTransform();
        light.setPosition(glm::vec3(0.0f));
        light.setSpotDirection(glm::vec3(0.0f, 0.0f, -1.0f));
        light.updateShadowMatrices();
    };

    Light& ceiling = *lights[0];
    glm::vec3 ceilingPosition = level->lightPositions[0];
    resetLight(ceiling);
    ceiling.setColor({1.1f, 1.1f, 0.9f});
    ceiling.translate(ceilingPosition.x, ceilingPosition.y, ceilingPosition.z);
    ceiling.setAttenuation({1.0f, 0.001f, 0.0001f});
    ceiling.rotateX(-90.0f);
    ceiling.setNearPlane(10.0f);
    ceiling.setFarPlane(80.0f);
    ceiling.setSpotCosCutoff(-1.0f);
    ceiling.setSpotExponent(4.0f);

    Light& headlight = *lights[1];
    resetLight(headlight);
    headlight.setColor({1.1f, 1.1f, 0.9f});
    headlight.setAttenuation({0.3f, 0.005f, 0.0005f});
    headlight.setNearPlane(1.0f);
    headlight.setFarPlane(120.0f);

    Light& corner = *lights[2];
    glm::vec3 cornerPosition = level->lightPositions[2];
    resetLight(corner);
    corner.setColor({0.5f, 0.5f, 0.2f});
    corner.translate(cornerPosition.x, cornerPosition.y, cornerPosition.z);
    corner.rotateX(-135.0f);
    corner.setNearPlane(10.0f);
    corner.setFarPlane(90.0f);
}

// The scripts are read again at every start, so an edited script shows at
// the next restart without leaving the program.
void AppMain::readScripts()
{
    delete cameraPath;
    cameraPath = new CameraPath(camera, players[0]->getCar()->camera, players[1]->getCar()->camera);
    const char* const files[] = {"player1.txt", "player2.txt"};
    for (std::size_t i = 0; i < movements.size(); ++i) {
        delete movements[i];
        movements[i] = new CarMovement(std::string(roomLayout::movementFolder) + files[i]);
    }
}

// Player 2's car first, then player 1's: each back at rest on its start with
// its wheels mounted where its model has them.
void AppMain::placeCars()
{
    for (int i : {1, 0}) {
        Car& car = *players[i]->getCar();
        car.reset();
        const glm::vec3& start = level->startPositions[i];
        car.translate(start.x, start.y, start.z);
        const auto& offsets = roomLayout::cars[i].wheelOffsets;
        for (int key = 1; key <= 4; ++key) {
            car.setWheelPosition(key, offsets[key - 1]);
        }
    }
}

// Every stone back in its place, not taken, turned to a fresh heading.
void AppMain::placeStones()
{
    for (std::size_t i = 0; i < energyStones.size(); ++i) {
        EnergyStone& stone = *energyStones[i];
        stone.resetTransform();
        const glm::vec3& position = roomLayout::stonePositions[i];
        stone.translate(position.x, position.y, position.z);
    }
    for (EnergyStone* stone : energyStones) {
        stone->rotateY(static_cast<float>(std::rand() % 360));
        stone->collected = false;
    }
}

