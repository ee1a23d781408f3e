#include "SoakRun.h"

#include "ResidentMemory.h"

#include "app/AppMain.h"
#include "app/Launch.h"
#include "scene/CameraPath.h"
#include "settings/Settings.h"
#include "sound/Music.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <numeric>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

} // namespace

SoakRun::SoakRun(const SoakOptions& options)
    : options(options)
{
}

SoakRun::~SoakRun()
{
    shutDown();
}

bool SoakRun::start()
{
    LaunchOptions launchOptions;
    launchOptions.width = options.width;
    launchOptions.height = options.height;
    launchOptions.soundOutput = AppMain::SoundOutput::Capture;
    launchOptions.seed = options.seed;
    // So that the driver reports every failing call, loading included.
    launchOptions.debugContext = true;
    launchOptions.afterWindowOpens = [this](AppMain&) { watch.install(); };
    launchOptions.toolName = "brimbolt_soak";
    app = launch(launchOptions);
    if (!app) {
        return false;
    }
    app->announcePickUps = false; // ten races of them would bury the report
    watch.check("loading the content");
    sound = std::make_unique<SoundClock>(*app, "brimbolt_soak");
    primitivesDrawn = GLQuery::create();
    liveAtStart = liveGLObjectCount();
    return true;
}

RaceResult SoakRun::runRace(int number)
{
    RaceResult result;
    result.race = number;
    const long debugErrorsBefore = watch.debugOutputErrors();
    const long getErrorsBefore = watch.getErrorErrors();
    const int drawEvery = options.framesPerDrawnFrame();
    // A race that has not started over well after its camera path ends never will.
    const long frameLimit = std::lround(app->cameraPath->endTime / options.step) + 100;
    std::vector<double> frameTimes;
    std::vector<double> frameCpuTimes;
    std::vector<double> framePrimitives;
    const auto started = Clock::now();

    // Every race draws the same frames: the first race starts at time 0 and
    // each later one in the frame that restarted the race before it.
    for (long frame = 1; frame <= frameLimit; ++frame) {
        const double before = app->raceTime;
        double lastTime = before;
        app->advance(options.step, [&](double seconds) {
            sound->render(seconds);
            if (app->raceTime < lastTime && !result.startedOver) {
                result.startedOver = true;
                result.raceSeconds = lastTime;
            }
            lastTime = app->raceTime;
        });
        if (result.startedOver) {
            result.steps = frame;
            break;
        }
        if (frame % drawEvery == 0) {
            const FrameMeasures frame = drawMeasuredFrame();
            frameTimes.push_back(frame.wallMs);
            frameCpuTimes.push_back(frame.cpuMs);
            framePrimitives.push_back(frame.primitives);
        }
    }
    if (!result.startedOver) {
        result.steps = frameLimit;
        result.raceSeconds = app->raceTime;
        std::fprintf(stderr, "brimbolt_soak: race %d did not start over within %ld frames (%.1f s)\n", number,
                     frameLimit, frameLimit * options.step);
    }

    result.wallSeconds = std::chrono::duration<double>(Clock::now() - started).count();
    result.residentKiB = residentMemoryKiB();
    result.liveGLObjects = liveGLObjectCount();
    for (int kind = 0; kind < glObjectKindCount; ++kind) {
        result.liveGLObjectsByKind[static_cast<std::size_t>(kind)] =
            liveGLObjectCount(static_cast<GLObjectKind>(kind));
    }
    result.framesDrawn = static_cast<int>(frameTimes.size());
    if (!frameTimes.empty()) {
        result.meanFrameMs =
            std::accumulate(frameTimes.begin(), frameTimes.end(), 0.0) / static_cast<double>(frameTimes.size());
        result.medianFrameMs = median(frameTimes);
        result.medianFrameCpuMs = median(frameCpuTimes);
        result.medianFramePrimitives = median(framePrimitives);
    }
    result.debugOutputErrors = watch.debugOutputErrors() - debugErrorsBefore;
    result.getErrorErrors = watch.getErrorErrors() - getErrorsBefore;
    return result;
}

void SoakRun::shutDown()
{
    if (app) {
        primitivesDrawn.reset(); // while the application's context is current
    }
    sound.reset();
    app.reset();
}

// From a finished pipeline to a finished frame, so that the times are this
// frame's work alone, drawing and presenting; with the primitives it made.
SoakRun::FrameMeasures SoakRun::drawMeasuredFrame()
{
    glFinish();
    const auto start = Clock::now();
    const double cpuStart = processCpuMs();
    glBeginQuery(GL_PRIMITIVES_GENERATED, primitivesDrawn.id());
    app->draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    glFinish();
    const double cpuStop = processCpuMs();
    const auto stop = Clock::now();
    GLuint64 primitives = 0;
    glGetQueryObjectui64v(primitivesDrawn.id(), GL_QUERY_RESULT, &primitives);
    watch.check("a drawn frame");
    return {std::chrono::duration<double, std::milli>(stop - start).count(), cpuStop - cpuStart,
            static_cast<double>(primitives)};
}
