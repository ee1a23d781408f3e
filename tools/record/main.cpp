// brimbolt_record: the race as a video with its sound, or as stills.
//
//     cd bin && ../build/tools/record/brimbolt_record --length 30 --size 640x360
//     cd bin && ../build/tools/record/brimbolt_record --at 12.5,40,97 --stills ../out
//
// The video has a fixed frame time (--step, default 1/30 s) and the race
// runs on the program's race clock under it, with a fixed random seed, so
// the same command gives the same pictures and the same sound on any
// machine, however slow, and the race the live program runs at any frame
// rate. Ctrl-C ends a recording early with a playable file of what was
// recorded.
#include "Encoder.h"
#include "FrameReader.h"
#include "Options.h"
#include "SoundClock.h"

#include "app/AppMain.h"
#include "app/Launch.h"
#include "scene/CameraPath.h"
#include "vehicles/EnergyStone.h"

#include <FreeImage.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

bool saveStill(const std::string& path, int width, int height)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    FIBITMAP* image = FreeImage_Allocate(width, height, 24);
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* pixel = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
            row[x * 3 + FI_RGBA_RED] = pixel[0];
            row[x * 3 + FI_RGBA_GREEN] = pixel[1];
            row[x * 3 + FI_RGBA_BLUE] = pixel[2];
        }
    }
    const bool saved = FreeImage_Save(FIF_PNG, image, path.c_str(), PNG_DEFAULT) != FALSE;
    FreeImage_Unload(image);
    std::printf("%s %s\n", saved ? "Wrote" : "Cannot write", path.c_str());
    return saved;
}

// Runs the video's frames without drawing up to just before each time, then
// draws the last frames, as many as the motion blur looks back, and keeps the
// last picture.
bool stills(AppMain& app, const Options& options)
{
    constexpr int drawnFrames = 3;
    std::vector<double> times = options.stills;
    std::sort(times.begin(), times.end());
    bool ok = true;
    for (double time : times) {
        const long target = std::lround(time / options.step);
        long done = std::lround(app.raceTime / options.step);
        if (target < done) {
            std::fprintf(stderr, "brimbolt_record: %.3f s is past the race's end; skipped\n", time);
            continue;
        }
        for (; done < target; ++done) {
            app.advance(options.step);
            if (options.drawEveryStep || done >= target - drawnFrames) {
                app.draw();
            }
        }
        char name[64];
        std::snprintf(name, sizeof name, "/still-%07.2f.png", time);
        ok = saveStill(options.stillFolder + name, options.width, options.height) && ok;
    }
    return ok;
}

int takenStones(const AppMain& app)
{
    return static_cast<int>(std::count_if(app.energyStones.begin(), app.energyStones.end(),
                                          [](const EnergyStone* stone) { return stone->collected; }));
}

std::string clock(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", static_cast<int>(seconds) / 60, static_cast<int>(seconds) % 60);
    return text;
}

bool record(AppMain& app, const Options& options)
{
    const double length = options.length > 0.0 ? options.length : app.cameraPath->endTime;
    const long frames = std::lround(length / options.step);
    SoundClock sound(app, "brimbolt_record");
    Encoder encoder(options.output, options.width, options.height, 1.0 / options.step, sound.sampleRate());
    if (!encoder.ok()) {
        return false;
    }
    FrameReader reader(options.width, options.height);
    std::vector<std::uint8_t> pixels;
    std::signal(SIGINT, requestStop);
    const auto started = std::chrono::steady_clock::now();
    long frame = 0;
    for (; frame < frames && !stopRequested; ++frame) {
        const double before = app.raceTime;
        const int takenBefore = takenStones(app);
        // The sound is mixed step by step, so a pick-up starts in the mix at
        // its own step, not at the frame's.
        app.advance(options.step, [&](double seconds) {
            const std::vector<float>& samples = sound.render(seconds);
            encoder.addSound(samples.data(), samples.size());
        });
        if (app.raceTime < before) {
            break; // the race started over: one whole race is done
        }
        if (takenStones(app) > takenBefore) {
            std::printf("Stone taken in frame %ld\n", frame);
        }
        app.draw();
        if (reader.push(pixels)) {
            encoder.addFrame(pixels);
        }
        if (frame % 10 == 9 || frame + 1 == frames) {
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            const double rate = (frame + 1) / std::max(seconds, 1e-3);
            std::fprintf(stderr, "\rframe %ld of %ld, %.1f frames a second, %s left   ", frame + 1, frames, rate,
                         clock((frames - frame - 1) / rate).c_str());
        }
    }
    while (reader.pop(pixels)) {
        encoder.addFrame(pixels);
    }
    std::fprintf(stderr, "\n%s", stopRequested ? "Stopped: finishing what was recorded.\n" : "");
    const bool written = encoder.finish();
    std::printf("%s %s: %ld frames, %.1f s of race\n", written ? "Wrote" : "Cannot write", options.output.c_str(),
                frame, frame * options.step);
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (const std::optional<int> status = options.parse(argc, argv)) {
        return *status;
    }
    LaunchOptions launchOptions;
    launchOptions.width = options.width;
    launchOptions.height = options.height;
    launchOptions.soundOutput = AppMain::SoundOutput::Capture;
    launchOptions.seed = options.seed;
    launchOptions.quality = options.quality;
    launchOptions.toolName = "brimbolt_record";
    std::unique_ptr<AppMain> app = launch(launchOptions);
    if (!app) {
        return 1;
    }
    const bool ok = options.stills.empty() ? record(*app, options) : stills(*app, options);
    return ok ? 0 : 1;
}
