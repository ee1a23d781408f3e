// brimbolt_benchmark [--shaders DIR] [OPTIONS] NAME...
// brimbolt_benchmark --compare A B [--rounds R] [OPTIONS]
//
// Runs the named benchmarks and prints their results. Like the program, it
// reads its data from "../brimbolt/", so run it from bin/:
//     cd bin && ../build/tools/benchmark/brimbolt_benchmark shadow
// (--shaders names the shader folder of the shadow benchmark from anywhere
// else). On a machine without a display, run it under xvfb-run -a.
//
// OPTIONS, for the race: --size WxH (1280x720), --frames N per race time
// (20), --frame-rate F drawn frames a second, each running 1/F s of race on
// the race clock (60), --json PATH (bench.json). --compare runs the race of two benchmark
// binaries, A B, B A, A B... R rounds (3), and prints the ratios B/A.
//
// To add a benchmark: a source file in this folder with a run function, and
// one line in the table below.

#include "CompareBenchmark.h"
#include "ImportBenchmark.h"
#include "RaceBenchmark.h"
#include "ShadowBenchmark.h"

#include "HiddenWindow.h"
#include "platform/Window.h"
#include "render/Light.h"

#include <array>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Benchmark {
    std::string_view name;
    // Opens the whole showcase in a window of its own instead of drawing in
    // the small hidden window the others share.
    bool ownWindow;
    void (*run)(const BenchmarkOptions& options);
};

constexpr std::array benchmarks = {
    Benchmark{"shadow", false, [](const BenchmarkOptions&) { runShadowBenchmark(); }},
    Benchmark{"import", false, [](const BenchmarkOptions&) { runImportBenchmark(); }},
    Benchmark{"race", true, runRaceBenchmark},
};

void printUsage()
{
    std::cerr << "usage: brimbolt_benchmark [--shaders DIR] [--size WxH] [--frames N] [--frame-rate F] [--json PATH] NAME...\n"
                 "       brimbolt_benchmark --compare A B [--rounds R] [--size WxH] [--frames N] [--frame-rate F]\n"
                 "benchmarks:";
    for (const Benchmark& benchmark : benchmarks) {
        std::cerr << ' ' << benchmark.name;
    }
    std::cerr << '\n';
}

const Benchmark* findBenchmark(std::string_view name)
{
    for (const Benchmark& benchmark : benchmarks) {
        if (benchmark.name == name) {
            return &benchmark;
        }
    }
    return nullptr;
}

// The shared hidden window goes before a benchmark with a window of its own
// opens one: closing a window ends GLFW for the whole process.
void runSelected(const std::vector<const Benchmark*>& selected, const BenchmarkOptions& options)
{
    platform::Window window;
    for (const Benchmark* benchmark : selected) {
        if (!benchmark->ownWindow) {
            if (!window.isOpen() && !openHiddenWindow(window, "brimbolt_benchmark")) {
                throw std::runtime_error("no window for " + std::string(benchmark->name));
            }
            benchmark->run(options);
        }
    }
    window.terminate();
    for (const Benchmark* benchmark : selected) {
        if (benchmark->ownWindow) {
            benchmark->run(options);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<const Benchmark*> selected;
    BenchmarkOptions options;
    std::vector<std::string> compared;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string_view argument = argv[i];
            if (argument == "--shaders" && i + 1 < argc) {
                std::string directory = argv[++i];
                if (!directory.empty() && directory.back() != '/') {
                    directory += '/';
                }
                Light::setShaderDirectory(directory);
            } else if (argument == "--compare" && i + 2 < argc) {
                compared = {argv[i + 1], argv[i + 2]};
                i += 2;
            } else if (!readBenchmarkOption(argc, argv, i, options)) {
                const Benchmark* benchmark = findBenchmark(argument);
                if (!benchmark) {
                    std::cerr << "brimbolt_benchmark: unknown benchmark '" << argument << "'\n";
                    printUsage();
                    return 2;
                }
                selected.push_back(benchmark);
            }
        }
        if (selected.empty() == compared.empty()) {
            printUsage();
            return 2;
        }
        if (!compared.empty()) {
            runComparison(compared[0], compared[1], options);
        } else {
            runSelected(selected, options);
        }
    } catch (const char* message) {
        std::cerr << "brimbolt_benchmark: " << message << '\n';
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "brimbolt_benchmark: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
