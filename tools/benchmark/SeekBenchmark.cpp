#include "SeekBenchmark.h"

#include "RaceReport.h"

#include "app/AppMain.h"
#include "app/Launch.h"
#include "scene/CameraPath.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

void runSeekBenchmark(const BenchmarkOptions& options)
{
    std::unique_ptr<AppMain> app = launch(LaunchOptions::quietTool("brimbolt_benchmark", options.width, options.height));
    if (!app) {
        throw std::runtime_error("no window for the seek");
    }
    app->announcePickUps = false;
    const double step = app->raceClock.seekStep();
    // The last moment of the race: the seek runs every step of it.
    const double end = app->cameraPath->endTime - step;
    std::printf("Seeks on the race clock (step 1/%.0f s), %d of each, wall clock:\n", 1.0 / step, options.frames);
    std::printf("  %-22s %9s %9s %9s\n", "to", "mean ms", "median ms", "max ms");
    for (double target : {0.0, end / 2.0, end}) {
        std::vector<double> times;
        for (int i = 0; i < options.frames; ++i) {
            const auto start = std::chrono::steady_clock::now();
            app->seek(target);
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        const Statistic statistic = summarise("", times);
        const double longest = *std::max_element(times.begin(), times.end());
        char label[32];
        std::snprintf(label, sizeof label, "%.2f s of race", target);
        std::printf("  %-22s %9.1f %9.1f %9.1f\n", label, statistic.mean, statistic.median, longest);
    }
}
