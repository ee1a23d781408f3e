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
#include "SeekBenchmark.h"
#include "ShadowBenchmark.h"

#include "CommandLine.h"
#include "HiddenWindow.h"
#include "platform/Window.h"
#include "render/Light.h"

#include <array>
#include <exception>
#include <iostream>
#include <limits>
#include <optional>
#include <span>
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
    Benchmark{"seek", true, runSeekBenchmark},
};

std::string usage()
{
    std::string text =
        "usage: brimbolt_benchmark [--shaders DIR] [--size WxH] [--frames N] [--frame-rate F] [--json PATH] NAME...\n"
        "       brimbolt_benchmark --compare A B [--rounds R] [--size WxH] [--frames N] [--frame-rate F]\n"
        "Run from bin/ (under xvfb-run -a without a display). Runs the named benchmarks and\n"
        "prints their GPU timings, or judges a change by the race of two builds.\n"
        "  --shaders DIR     the shader folder of the shadow benchmark, to run it from elsewhere\n"
        "  --size WxH        the race's window (1280x720)\n"
        "  --frames N        frames drawn and measured at each race time (20); seeks of each kind\n"
        "  --frame-rate F    drawn frames a second, each running 1/F s of race on the race clock (60)\n"
        "  --json PATH       where the race writes its results (bench.json)\n"
        "  --compare A B     runs the race of the benchmark binaries A and B, A B, B A, A B...,\n"
        "                    and prints the ratios B/A\n"
        "  --rounds R        runs of each binary in a comparison (3)\n"
        "  --quality Q       full or fast (the configuration file's)\n"
        "benchmarks:";
    for (const Benchmark& benchmark : benchmarks) {
        text += ' ' + std::string(benchmark.name);
    }
    return text + '\n';
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

// What the command line asks for: the named benchmarks, or a comparison.
struct Request {
    BenchmarkOptions options;
    std::vector<const Benchmark*> selected;
    std::vector<std::string> compared;
};

// The status to exit with now (after --help or a mistake), or nothing when
// the request is to run.
std::optional<int> readCommandLine(int argc, char** argv, Request& request)
{
    std::optional<std::string> shaders;
    CommandLine commandLine("brimbolt_benchmark", usage());
    commandLine.option("--shaders", "a folder", [&shaders](std::string_view directory) {
        shaders = directory;
        return true;
    });
    commandLine.option("--compare", 2, "two benchmark binaries A B",
                       [&request](std::span<const std::string_view> binaries) {
                           request.compared.assign(binaries.begin(), binaries.end());
                           return true;
                       });
    addBenchmarkOptions(commandLine, request.options);
    commandLine.takePositionals(std::numeric_limits<std::size_t>::max());
    if (const std::optional<int> status = commandLine.parse(argc, argv)) {
        return status;
    }
    for (const std::string& name : commandLine.positionals()) {
        const Benchmark* benchmark = findBenchmark(name);
        if (!benchmark) {
            return commandLine.refuse("unknown benchmark '" + name + "'");
        }
        request.selected.push_back(benchmark);
    }
    if (request.selected.empty() == request.compared.empty()) {
        return commandLine.refuse(request.compared.empty() ? "no benchmark named"
                                                           : "--compare and benchmark names do not go together");
    }
    if (shaders) {
        Light::setShaderDirectory(shaders->empty() || shaders->back() == '/' ? *shaders : *shaders + '/');
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    Request request;
    if (const std::optional<int> status = readCommandLine(argc, argv, request)) {
        return *status;
    }
    try {
        if (!request.compared.empty()) {
            runComparison(request.compared[0], request.compared[1], request.options);
        } else {
            runSelected(request.selected, request.options);
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
