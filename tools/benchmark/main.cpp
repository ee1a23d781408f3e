// brimbolt_benchmark [--shaders DIR] NAME...
//
// Runs the named GPU benchmarks in a hidden OpenGL 3.3 core window and prints
// one line per benchmark. Like the program, it reads its shaders from
// "../brimbolt/Shaders/", so run it from bin/:
//     cd bin && ../build/tools/benchmark/brimbolt_benchmark shadow
// or name the shader folder with --shaders from anywhere else. On a machine
// without a display, run it under xvfb-run -a.
//
// To add a benchmark: a source file in this folder with a run function, and
// one line in the table below.

#include "ImportBenchmark.h"
#include "ShadowBenchmark.h"

#include "HiddenWindow.h"
#include "platform/Window.h"
#include "render/Light.h"

#include <array>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Benchmark {
    std::string_view name;
    void (*run)();
};

constexpr std::array benchmarks = {
    Benchmark{"shadow", runShadowBenchmark},
    Benchmark{"import", runImportBenchmark},
};

void printUsage()
{
    std::cerr << "usage: brimbolt_benchmark [--shaders DIR] NAME...\nbenchmarks:";
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

} // namespace

int main(int argc, char** argv)
{
    std::vector<const Benchmark*> selected;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--shaders" && i + 1 < argc) {
            std::string directory = argv[++i];
            if (!directory.empty() && directory.back() != '/') {
                directory += '/';
            }
            Light::setShaderDirectory(directory);
        } else if (const Benchmark* benchmark = findBenchmark(argument)) {
            selected.push_back(benchmark);
        } else {
            std::cerr << "brimbolt_benchmark: unknown benchmark '" << argument << "'\n";
            printUsage();
            return 2;
        }
    }
    if (selected.empty()) {
        printUsage();
        return 2;
    }

    platform::Window window;
    if (!openHiddenWindow(window, "brimbolt_benchmark")) {
        return 1;
    }
    try {
        for (const Benchmark* benchmark : selected) {
            benchmark->run();
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
