#pragma once

#include "app/FrameLists.h"
#include "app/RaceClock.h"
#include "app/RaceStart.h"
#include "platform/Window.h"
#include "render/PassTimer.h"
#include "render/RenderQuality.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class Camera;
class CameraPath;
class CarMovement;
class EnergyStone;
class Geometry;
class Level;
class Light;
class Music;
class Player;
class ParallaxGeometry;
class ReflectiveGeometry;
class Shader;
class UserInterface;

// The one application object: owns the window, the sound bank and all content
// of the showcase. The program entry creates it, calls its start-up steps in
// order, drives it once per frame and deletes it at the end. Every pointer
// member is owned: created with new by this class and deleted in the destructor.
class AppMain {
public:
    // Where the sound goes: to the audio device (silently when there is
    // none), or into a mix that tools and tests render themselves.
    enum class SoundOutput { Device, Capture };

    // Creates the members; no OpenGL call is made before initWindow.
    explicit AppMain(SoundOutput soundOutput = SoundOutput::Device);
    virtual ~AppMain();
    AppMain(const AppMain&) = delete;
    AppMain& operator=(const AppMain&) = delete;

    bool initWindow();
    // Builds the named shader programs and the overlay; throws the text
    // "Could not compile minimal shader program." when one cannot be built.
    void loadShaders();
    // A program of shaders by its name; a name that is not there throws,
    // naming it, rather than handing out nothing.
    Shader& program(const std::string& name) const;
    void loadContent();
    // Back to the start of the race; the next advance settles the fresh race
    // with an update of no length before anything moves.
    void restart();
    // One race step of deltaTime seconds.
    void update();
    void draw();

    // Called after every update that advance runs, with its step in seconds
    // (tools mix their captured sound step by step).
    using StepHook = std::function<void(double stepSeconds)>;
    // The race's share of one drawn frame of frameSeconds: as many updates as
    // the race clock gives it, each a fixed step. Draw the frame after it.
    void advance(double frameSeconds, const StepHook& afterEachStep = {});
    // The race as a straight run reaches it at `time` seconds of the current
    // race (past its end: into the next race): run again from the race's
    // start at the fixed step without drawing, with the music put where it
    // would be and no pick-up heard or told again.
    void seek(double time);
    // The show pieces that turn all the time, race after race.
    std::array<Geometry*, 5> turningPieces() const;

    int width = 0;
    int height = 0;
    std::string errorMessage;
    Music* music = nullptr;
    UserInterface* userInterface = nullptr;
    std::array<Player*, 2> players{};         // each owns its car and its explosion
    std::array<Geometry*, 3> stoneMeshes{};   // green, yellow, red: shared by the stones
    std::array<EnergyStone*, 6> energyStones{};
    std::array<Geometry*, 4> sceneGeometries{};       // plane, armadillo, two pedestals
    ReflectiveGeometry* reflectiveObject = nullptr;    // the pig
    std::array<ParallaxGeometry*, 3> parallaxObjects{}; // stone wall, torus, relief armadillo
    std::array<Light*, 3> lights{};
    std::map<std::string, Shader*> shaders;
    Level* level = nullptr;
    Level* reducedLevel = nullptr; // the room with its big shapes only, for the pig's reflection
    Camera* camera = nullptr;
    double raceTime = 0.0;
    // What the picture may cost; set before the programs and the content load.
    RenderQuality quality;
    // What rand was seeded with: the stones' headings follow from it, so a
    // recording with the same seed shows the same race.
    unsigned randomSeed = 0;
    RaceClock raceClock; // steps the race; its step comes from "raceStep" in the configuration
    CameraPath* cameraPath = nullptr;        // chooses each frame's view; read afresh at every restart
    std::array<CarMovement*, 2> movements{}; // the players' scripts, read afresh at every restart

    // Written and read by the frame pipeline.
    FrameLists frameLists; // what each pass draws, in order; built by loadContent
    int followedPlayer = 0;
    Camera* activeCamera = nullptr; // not owned: the camera of the current frame
    // Not owned; when set, every frame is seen through this camera instead of
    // the one the camera path chooses (tools and tests looking from a place).
    Camera* fixedView = nullptr;
    double motionBlurStrength = 1.0;
    // Each stone taken is told on the console; a tool with output of its own turns it off.
    bool announcePickUps = true;
    // Race seconds the frame about to be drawn moved on from the one before:
    // the motion the blur smears.
    double frameRaceSeconds = 0.0;
    // Not owned; when set, each pass of the frame is timed on the GPU (benchmarks).
    PassTimer* passTimer = nullptr;
    // Lines the viewer's keys put on the screen, drawn over the frame.
    std::vector<std::string> viewerLines;

    platform::Window window;

private:
    // firstStepSeconds: how far the race's first update, at race time 0,
    // moves things (see RaceStart).
    void startRace(double firstStepSeconds);
    unsigned musicMilliseconds() const;
    // Where the music stands after the race seconds a seek has run again
    // from the start `from`.
    unsigned replayedMusicMilliseconds(const RaceStart& from) const;
    void loadSounds();
    void createLights();
    void loadCars();
    void loadRooms();
    void loadShowPieces();
    void loadStones();
    void buildFrameLists();
    void prepareGeometry();
    void placeLights();
    void readScripts();
    void placeCars();
    void placeStones();
    void applyControls();
    void moveCars();
    void collectStones();
    void turnShowPieces();
    void playLightingScene();
    void updateShadowMatrices();
    void reportPickUp(int stone, int player) const;

    void renderShadowMaps();
    void blurShadowMaps();
    void renderEnvironmentCube();
    void renderLitScene();
    void chooseCamera();
    void renderTransparentEffects();
    void renderMotionBlur();
    void scaleSceneIntoWindow();
    void setBlurScale(Shader& program, double scale);
    void drawOverlay();
    std::vector<std::string> statusLines() const;
    // False from a restart until the next update has placed what only the
    // update places (the headlight, the light matrices).
    bool settled = false;
    // Times the passes while the status panel shows them, with the
    // milliseconds of the last frame whose times came back.
    std::unique_ptr<PassTimer> statusTimer;
    PassTimer* frameTimer = nullptr; // the timer of the frame being drawn
    std::array<double, PassTimer::PassCount> lastPassMilliseconds{};
    // What the current race started from, for a seek.
    RaceStart raceStart;
    // Set while a seek runs the race again: nothing is heard or told then.
    bool replaying = false;
    // The race seconds a seek has run so far, for the music's place.
    double replayedSeconds = 0.0;

    template <typename PassFunction>
    void timed(int pass, PassFunction&& render);
    void setLightUniforms(Shader& program);
    void clearLightTextures();
};
