// brimbolt_frame pictures OUTDIR | timing
//
// Loads the whole showcase as the program does (run it from bin/, so that
// "../brimbolt/" holds the data) in a 1280x720 window and either writes
// pictures as JPEG files (close-ups of the cars and a burst, and three
// moments of the race through its camera path), or prints the GPU time of
// each pass of a frame, seen from a fixed viewpoint over the course, and the
// CPU time of submitting it.
#include "CommandLine.h"
#include "app/AppMain.h"
#include "app/Launch.h"
#include "effects/Explosion.h"
#include "render/PassTimer.h"
#include "scene/Camera.h"
#include "scene/RoomLayout.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"

#include <FreeImage.h>
#include <epoxy/gl.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int width = 1280;
constexpr int height = 720;

struct Viewpoint {
    const char* name;
    glm::vec3 eye;
    glm::vec3 target;
};

// Over the course towards the pig, torus and aeroplane: the timed view.
const Viewpoint overTheCourse{"over-the-course", {22.0f, 14.0f, 40.0f}, {-8.0f, 0.0f, -5.0f}};

// Close-ups of the two cars on their starts, three-quarters from the front,
// and of a burst at the fourth stone.
const Viewpoint roadster{"closeup-car1", {7.0f, 1.4f, 11.0f}, {10.0f, -0.1f, 15.0f}};
const Viewpoint buggy{"closeup-car2", {18.5f, 1.6f, 11.0f}, {15.0f, 0.1f, 15.0f}};
const Viewpoint burst{"closeup-burst", {-9.0f, 2.5f, -17.0f}, {-9.0f, 1.2f, -25.0f}};

void lookFrom(AppMain& app, const Viewpoint& view)
{
    glm::mat4 matrix = glm::lookAt(view.eye, view.target, glm::vec3(0.0f, 1.0f, 0.0f));
    app.camera->setTransform(glm::inverse(matrix), matrix);
    app.camera->storePreviousTransform();
    app.fixedView = app.camera;
}

constexpr double frameSeconds = 1.0 / 60.0;

void frame(AppMain& app, double seconds)
{
    app.advance(seconds);
    app.draw();
}

bool savePicture(const std::string& path)
{
    FIBITMAP* image = FreeImage_Allocate(width, height, 24);
    std::vector<unsigned char> pixels(width * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, y);
        for (int x = 0; x < width; ++x) {
            row[x * 3 + FI_RGBA_RED] = pixels[(y * width + x) * 3];
            row[x * 3 + FI_RGBA_GREEN] = pixels[(y * width + x) * 3 + 1];
            row[x * 3 + FI_RGBA_BLUE] = pixels[(y * width + x) * 3 + 2];
        }
    }
    // JPEG keeps the pictures in the documentation small.
    bool saved = FreeImage_Save(FIF_JPEG, image, path.c_str(), JPEG_QUALITYGOOD) != FALSE;
    FreeImage_Unload(image);
    std::printf("%s %s\n", saved ? "Wrote" : "Cannot write", path.c_str());
    return saved;
}

// Runs the race at 60 frames a second without drawing up to `time`, then
// draws the last few frames so the motion blur has a frame before.
void raceTo(AppMain& app, double time)
{
    while (app.raceTime + 3.5 * frameSeconds < time) {
        app.advance(frameSeconds);
    }
    for (int i = 0; i < 3; ++i) {
        frame(app, frameSeconds);
    }
}

// The race through the camera path: the chase camera at the start, the
// flight that trails player 1 down the room, and the burst of a stone taken
// mid-race.
bool racePictures(AppMain& app, const std::string& folder)
{
    app.fixedView = nullptr;
    app.restart();
    raceTo(app, 5.0);
    bool ok = savePicture(folder + "/race-chase.jpg");
    raceTo(app, 12.0);
    ok = savePicture(folder + "/race-flyby.jpg") && ok;
    // The first stone taken after the opening, a quarter second into its burst.
    app.restart();
    auto taken = [&app] {
        return std::count_if(app.energyStones.begin(), app.energyStones.end(),
                             [](const EnergyStone* stone) { return stone->collected; });
    };
    while (app.raceTime < 15.0) {
        app.advance(frameSeconds);
    }
    const auto before = taken();
    while (taken() == before && app.raceTime < 60.0) {
        app.advance(frameSeconds);
    }
    raceTo(app, app.raceTime + 0.25);
    return savePicture(folder + "/race-burst.jpg") && ok;
}

bool pictures(AppMain& app, const std::string& folder)
{
    bool ok = true;
    for (const Viewpoint& view : {roadster, buggy}) {
        lookFrom(app, view);
        frame(app, frameSeconds);
        ok = savePicture(folder + "/" + view.name + ".jpg") && ok;
    }
    // A quarter of a second into the burst the sparks are at their widest.
    lookFrom(app, burst);
    glm::vec3 stone = roomLayout::stonePositions[3];
    app.players[0]->getExplosion()->trigger(stone.x, stone.y, stone.z);
    for (int i = 0; i < 15; ++i) {
        frame(app, frameSeconds);
    }
    ok = savePicture(folder + "/" + burst.name + ".jpg") && ok;
    return racePictures(app, folder) && ok;
}

void timing(AppMain& app)
{
    using Clock = std::chrono::steady_clock;
    PassTimer timer;
    lookFrom(app, overTheCourse);
    const int frames = 10;
    double passTotals[PassTimer::PassCount] = {};
    double submitTotal = 0.0;
    frame(app, frameSeconds); // warm-up, not timed
    app.passTimer = &timer;
    int timedFrames = 0;
    auto addUp = [&](const std::vector<PassTimer::FrameTimes>& finished) {
        for (const PassTimer::FrameTimes& times : finished) {
            for (int pass = 0; pass < PassTimer::PassCount; ++pass) {
                passTotals[pass] += times.milliseconds[pass];
            }
            ++timedFrames;
        }
    };
    for (int i = 0; i < frames; ++i) {
        glFinish();
        Clock::time_point start = Clock::now();
        frame(app, frameSeconds);
        submitTotal += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        timer.endFrame();
        addUp(timer.collect());
    }
    addUp(timer.finish());
    app.passTimer = nullptr;
    std::printf("Frame at %dx%d on %s, mean of %d frames:\n", width, height,
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)), timedFrames);
    double gpuTotal = 0.0;
    for (int pass = 0; pass < PassTimer::PassCount; ++pass) {
        double ms = timedFrames > 0 ? passTotals[pass] / timedFrames : 0.0;
        gpuTotal += ms;
        std::printf("  %-17s %8.2f ms GPU\n", std::string(PassTimer::name(static_cast<PassTimer::Pass>(pass))).c_str(),
                    ms);
    }
    std::printf("  %-17s %8.2f ms GPU\n  %-17s %8.2f ms CPU (update, draw calls and swap)\n", "whole frame",
                gpuTotal, "submission", submitTotal / frames);
}

constexpr const char* usage =
    "usage: brimbolt_frame pictures OUTDIR | timing   (run from bin/)\n"
    "Loads the whole showcase as the program does, from ../brimbolt/, in a 1280x720 window\n"
    "and either writes pictures as JPEG files into OUTDIR (close-ups of the cars and a\n"
    "burst, and three moments of the race through its camera path), or prints the GPU time\n"
    "of each pass of a frame, seen from a fixed viewpoint over the course, and the CPU time\n"
    "of submitting it.\n";

// The status to exit with now (after --help or a mistake), or nothing when
// the tool runs; picturesFolder is left unset for the timing.
std::optional<int> readCommandLine(int argc, char** argv, std::optional<std::string>& picturesFolder)
{
    CommandLine commandLine("brimbolt_frame", usage);
    commandLine.command("pictures", {"OUTDIR"});
    commandLine.command("timing");
    if (const std::optional<int> status = commandLine.parse(argc, argv)) {
        return status;
    }
    if (commandLine.chosenCommand() == "pictures") {
        picturesFolder = commandLine.positionals()[0];
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    std::optional<std::string> picturesFolder;
    if (const std::optional<int> status = readCommandLine(argc, argv, picturesFolder)) {
        return *status;
    }
    std::unique_ptr<AppMain> app = launch(LaunchOptions::quietTool("brimbolt_frame", width, height));
    if (!app) {
        return 1;
    }
    bool ok = true;
    if (picturesFolder) {
        ok = pictures(*app, *picturesFolder);
    } else {
        timing(*app);
    }
    return ok ? 0 : 1;
}
