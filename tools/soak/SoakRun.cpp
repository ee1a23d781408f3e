#include "SoakRun.h"

#include "ResidentMemory.h"

#include "app/AppMain.h"
#include "app/EngineStart.h"
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
    windowWidth = options.width;
    windowHeight = options.height;
    windowMode = platform::GLFW_WINDOW;
    app = std::make_unique<AppMain>(AppMain::SoundOutput::Capture);
    // After the application's own seeding: every run draws the same stone
    // headings and the same smoke.
    std::srand(options.seed);
    // A debug context, so that the driver reports every failing call. GLFW
    // keeps window hints until the window opens, so this one stands beside
    // those initWindow sets.
    if (app->window.init()) {
        app->window.openWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    }
    if (!app->initWindow()) {
        std::fprintf(stderr, "brimbolt_soak: cannot open a %dx%d window (no display? try xvfb-run -a)\n",
                     options.width, options.height);
        app.reset();
        return false;
    }
    watch.install();
    app->loadShaders();
    app->loadContent();
    watch.check("loading the content");
    // As the program starts: the engines running, and a second restart.
    startEngines(*app->music);
    app->restart();
    sound = std::make_unique<SoundClock>(*app, options.step, "brimbolt_soak");
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
    const int drawEvery = options.stepsPerDrawnFrame();
    // A race that has not started over well after its camera path ends never will.
    const long stepLimit = std::lround(app->cameraPath->endTime / options.step) + 100;
    std::vector<double> frameTimes;
    std::vector<double> frameCpuTimes;
    std::vector<double> framePrimitives;
    const auto started = Clock::now();

    // Every race draws the same steps: the first race starts at time 0 and
    // each later one at the update that restarted the race before it.
    for (long step = 1; step <= stepLimit; ++step) {
        const double before = app->raceTime;
        deltaTime = options.step;
        app->update();
        sound->render();
        if (app->raceTime < before) {
            result.startedOver = true;
            result.steps = step;
            result.raceSeconds = before;
            break;
        }
        if (step % drawEvery == 0) {
            const FrameMeasures frame = drawMeasuredFrame();
            frameTimes.push_back(frame.wallMs);
            frameCpuTimes.push_back(frame.cpuMs);
            framePrimitives.push_back(frame.primitives);
        }
    }
    if (!result.startedOver) {
        result.steps = stepLimit;
        result.raceSeconds = app->raceTime;
        std::fprintf(stderr, "brimbolt_soak: race %d did not start over within %ld steps (%.1f s)\n", number,
                     stepLimit, stepLimit * options.step);
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
