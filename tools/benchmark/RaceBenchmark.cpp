#include "RaceBenchmark.h"

#include "RaceReport.h"

#include "app/AppMain.h"
#include "app/Launch.h"
#include "render/PassTimer.h"
#include "scene/CameraPath.h"

#include <epoxy/gl.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

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

double threadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

// The showcase as the program starts it, muted, with the same random draws
// in every run, so that both builds of a comparison draw the same frames.
std::unique_ptr<AppMain> loadShowcase(const BenchmarkOptions& options)
{
    LaunchOptions launchOptions = LaunchOptions::quietTool("brimbolt_benchmark", options.width, options.height);
    launchOptions.quality = options.quality;
    std::unique_ptr<AppMain> app = launch(launchOptions);
    if (!app) {
        throw std::runtime_error("no window for the race");
    }
    app->announcePickUps = false; // only the measures are printed
    return app;
}

// Runs the race's frames without drawing so that the settling frames end at `time`.
void raceTo(AppMain& app, double time, double frameSeconds)
{
    if (time >= app.cameraPath->endTime) {
        throw std::runtime_error("race time " + std::to_string(time) + " s is past the end of the race");
    }
    while (app.raceTime + (settleFrames + 0.5) * frameSeconds < time) {
        app.advance(frameSeconds);
    }
    for (int i = 0; i < settleFrames; ++i) {
        app.advance(frameSeconds);
        app.draw();
    }
}

// As the program's loop runs: no glFinish between frames, so on a GPU the
// CPU times are those of a pipeline kept full (draw may wait in the buffer
// swap); on llvmpipe draw includes the rendering itself. The update is the
// processor time of the frame's race steps, which no other thread shares.
void measureFrames(AppMain& app, PassTimer& timer, int frames, double frameSeconds, Samples& samples)
{
    app.passTimer = &timer;
    for (int i = 0; i < frames; ++i) {
        const double updateStart = threadCpuMilliseconds();
        app.advance(frameSeconds);
        samples.update.push_back(threadCpuMilliseconds() - updateStart);
        const Clock::time_point drawStart = Clock::now();
        app.draw();
        samples.draw.push_back(millisecondsBetween(drawStart, Clock::now()));
        timer.endFrame();
        samples.addGpu(timer.collect());
    }
    app.passTimer = nullptr;
    // Nothing is measured while the race steps on to the next time, so
    // waiting for the frames still on the GPU costs nothing here.
    samples.addGpu(timer.finish());
}

RaceReport makeReport(const Samples& samples, const BenchmarkOptions& options, int lostFrames, int raceSteps,
                      const char* quality)
{
    RaceReport report;
    report.renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    report.quality = quality;
    report.width = options.width;
    report.height = options.height;
    report.frames = options.frames;
    report.frameRate = options.frameRate;
    report.raceSteps = raceSteps;
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
    const double frameSeconds = 1.0 / options.frameRate;
    for (double time : raceTimes) {
        raceTo(app, time, frameSeconds);
        measureFrames(app, timer, options.frames, frameSeconds, samples);
    }
    const double step = app.raceClock.step();
    const int raceSteps = step > 0.0 ? static_cast<int>(std::lround(frameSeconds / step)) : 1;
    return makeReport(samples, options, timer.lostFrames(), raceSteps, app.quality.name());
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
