#include "RaceBenchmark.h"

#include "RaceReport.h"

#include "app/AppMain.h"
#include "render/PassTimer.h"
#include "scene/CameraPath.h"
#include "settings/Settings.h"
#include "sound/Music.h"

#include <epoxy/gl.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double step = 1.0 / 60.0;
// Spread over the race so that the chase cameras, the flights past the cars,
// the stones' bursts and the show pieces all weigh in, not one view.
constexpr std::array raceTimes = {5.0, 20.0, 40.0, 70.0, 100.0};
// Drawn before measuring at each time: after steps without drawing the
// motion blur needs a frame before, and a new view's first draw is slow.
constexpr int settleFrames = 2;

struct Samples {
    std::array<std::vector<double>, PassTimer::PassCount> passes;
    std::vector<double> wholeFrame;
    std::vector<double> update;
    std::vector<double> draw;

    void addGpu(const std::vector<PassTimer::FrameTimes>& frames)
    {
        for (const PassTimer::FrameTimes& frame : frames) {
            double total = 0.0;
            for (int pass = 0; pass < PassTimer::PassCount; ++pass) {
                if (frame.timed[pass]) {
                    passes[pass].push_back(frame.milliseconds[pass]);
                    total += frame.milliseconds[pass];
                }
            }
            wholeFrame.push_back(total);
        }
    }
};

double millisecondsBetween(Clock::time_point start, Clock::time_point stop)
{
    return std::chrono::duration<double, std::milli>(stop - start).count();
}

std::unique_ptr<AppMain> loadShowcase(const BenchmarkOptions& options)
{
    windowWidth = options.width;
    windowHeight = options.height;
    windowMode = platform::GLFW_WINDOW;
    auto app = std::make_unique<AppMain>();
    // The stones' headings and the sparks draw from rand: the same seed draws
    // the same frames in every run.
    std::srand(1);
    app->music->setMute(true);
    if (!app->initWindow()) {
        throw std::runtime_error("cannot open a " + std::to_string(options.width) + "x" +
                                 std::to_string(options.height) + " window (no display? try xvfb-run -a)");
    }
    app->loadShaders();
    app->loadContent();
    app->restart();
    return app;
}

// Steps the race without drawing so that the settling frames end at `time`.
void raceTo(AppMain& app, double time)
{
    if (time >= app.cameraPath->endTime) {
        throw std::runtime_error("race time " + std::to_string(time) + " s is past the end of the race");
    }
    while (app.raceTime + (settleFrames + 0.5) * step < time) {
        deltaTime = step;
        app.update();
    }
    for (int i = 0; i < settleFrames; ++i) {
        deltaTime = step;
        app.update();
        app.draw();
    }
}

// As the program's loop runs: no glFinish between frames, so on a GPU the
// CPU times are those of a pipeline kept full (draw may wait in the buffer
// swap); on llvmpipe draw includes the rendering itself.
void measureFrames(AppMain& app, PassTimer& timer, int frames, Samples& samples)
{
    app.passTimer = &timer;
    for (int i = 0; i < frames; ++i) {
        deltaTime = step;
        const Clock::time_point start = Clock::now();
        app.update();
        const Clock::time_point updated = Clock::now();
        app.draw();
        const Clock::time_point drawn = Clock::now();
        samples.update.push_back(millisecondsBetween(start, updated));
        samples.draw.push_back(millisecondsBetween(updated, drawn));
        timer.endFrame();
        samples.addGpu(timer.collect());
    }
    app.passTimer = nullptr;
    // Nothing is measured while the race steps on to the next time, so
    // waiting for the frames still on the GPU costs nothing here.
    samples.addGpu(timer.finish());
}

RaceReport makeReport(const Samples& samples, const BenchmarkOptions& options, int lostFrames)
{
    RaceReport report;
    report.renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    report.width = options.width;
    report.height = options.height;
    report.frames = options.frames;
    report.raceTimes.assign(raceTimes.begin(), raceTimes.end());
    report.gpuFrames = static_cast<int>(samples.wholeFrame.size());
    report.lostFrames = lostFrames;
    for (int pass = 0; pass < PassTimer::PassCount; ++pass) {
        report.gpu.push_back(
            summarise(std::string(PassTimer::name(static_cast<PassTimer::Pass>(pass))), samples.passes[pass]));
    }
    report.gpu.push_back(summarise("whole frame", samples.wholeFrame));
    report.update = summarise("update", samples.update);
    report.draw = summarise("draw", samples.draw);
    return report;
}

// The timer's queries belong to the showcase's context, so it lives and dies
// inside the showcase's lifetime.
RaceReport race(AppMain& app, const BenchmarkOptions& options)
{
    PassTimer timer;
    Samples samples;
    for (double time : raceTimes) {
        raceTo(app, time);
        measureFrames(app, timer, options.frames, samples);
    }
    return makeReport(samples, options, timer.lostFrames());
}

} // namespace

void runRaceBenchmark(const BenchmarkOptions& options)
{
    std::unique_ptr<AppMain> app = loadShowcase(options);
    const RaceReport report = race(*app, options);
    app.reset();
    printReport(report);
    writeReport(report, options.jsonPath);
    std::printf("Wrote %s\n", options.jsonPath.c_str());
}
