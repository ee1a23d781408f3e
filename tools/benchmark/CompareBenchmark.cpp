#include "CompareBenchmark.h"

#include "RaceReport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Medians = std::vector<std::pair<std::string, double>>;

// Below the printed precision a ratio says nothing (the overlay draws
// nothing most of the race).
constexpr double smallestCompared = 0.005;

std::string readText(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the command with its output in the log; true when it exits with 0.
bool runChild(std::vector<std::string> arguments, const std::filesystem::path& log)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t child = 0;
    const int spawnError = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0) {
        std::printf("\n");
        throw std::runtime_error(std::string("cannot start ") + argv[0]);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs `binary race ...` and returns its medians. Its table and messages
// would bury the progress lines, so they go to a log shown only on failure.
Medians runRace(const std::string& binary, const BenchmarkOptions& options, const std::string& label)
{
    const std::filesystem::path stem = std::filesystem::temp_directory_path() /
                                       ("brimbolt_compare_" + std::to_string(getpid()) + "_" + label);
    const std::filesystem::path json = stem.string() + ".json";
    const std::filesystem::path log = stem.string() + ".log";
    std::vector<std::string> arguments = raceArguments(options, json.string());
    arguments.insert(arguments.begin(), binary);

    std::printf("  %-4s %s ... ", label.c_str(), binary.c_str());
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    bool ran = false;
    try {
        ran = runChild(std::move(arguments), log);
    } catch (...) {
        std::filesystem::remove(log);
        throw;
    }
    const std::string output = readText(log);
    std::filesystem::remove(log);
    if (!ran) {
        std::printf("failed:\n%s", output.c_str());
        std::filesystem::remove(json);
        throw std::runtime_error(binary + " race failed (" + label + ")");
    }
    std::printf("%.1f s\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    Medians medians = readMedians(json.string());
    std::filesystem::remove(json);
    return medians;
}

double medianOfRounds(const std::vector<Medians>& rounds, std::size_t row)
{
    std::vector<double> values;
    for (const Medians& round : rounds) {
        values.push_back(round.at(row).second);
    }
    return median(values);
}

void printRatios(const std::vector<Medians>& roundsA, const std::vector<Medians>& roundsB)
{
    const std::size_t roundCount = roundsA.size();
    std::printf("\nB/A of the medians (ms; update and draw CPU, the rest GPU):\n  %-18s %9s %9s", "", "A", "B");
    for (std::size_t round = 0; round < roundCount; ++round) {
        std::printf("  round %zu", round + 1);
    }
    std::printf("  overall  spread\n");
    for (std::size_t row = 0; row < roundsA.front().size(); ++row) {
        const double a = medianOfRounds(roundsA, row);
        const double b = medianOfRounds(roundsB, row);
        std::printf("  %-18s %9.2f %9.2f", roundsA.front()[row].first.c_str(), a, b);
        if (a < smallestCompared) {
            std::printf("  (too small to compare)\n");
            continue;
        }
        double lowest = 0.0;
        double highest = 0.0;
        for (std::size_t round = 0; round < roundCount; ++round) {
            const double ratio = roundsB[round][row].second / std::max(roundsA[round][row].second, smallestCompared);
            lowest = round == 0 ? ratio : std::min(lowest, ratio);
            highest = round == 0 ? ratio : std::max(highest, ratio);
            std::printf("  %7.3f", ratio);
        }
        std::printf("  %7.3f  %6.3f\n", b / a, highest - lowest);
    }
}

} // namespace

void runComparison(const std::string& binaryA, const std::string& binaryB, const BenchmarkOptions& options)
{
    std::printf("Comparing A = %s and B = %s at %dx%d, %d frames per race time, round(s): %d\n", binaryA.c_str(),
                binaryB.c_str(), options.width, options.height, options.frames, options.rounds);
    std::vector<Medians> roundsA;
    std::vector<Medians> roundsB;
    for (int round = 1; round <= options.rounds; ++round) {
        // Every other round B goes first: whatever the machine does to the
        // second run of a pair (a warmer cache, a busier neighbour) then falls
        // on both builds alike.
        const std::string name = std::to_string(round);
        if (round % 2 == 1) {
            roundsA.push_back(runRace(binaryA, options, "A" + name));
            roundsB.push_back(runRace(binaryB, options, "B" + name));
        } else {
            roundsB.push_back(runRace(binaryB, options, "B" + name));
            roundsA.push_back(runRace(binaryA, options, "A" + name));
        }
    }
    // Both builds write the same quantities; a mismatch means they are not
    // two builds of one benchmark.
    auto sameQuantities = [&roundsA](const Medians& round) {
        return std::equal(round.begin(), round.end(), roundsA.front().begin(), roundsA.front().end(),
                          [](const auto& one, const auto& other) { return one.first == other.first; });
    };
    if (!std::all_of(roundsA.begin(), roundsA.end(), sameQuantities) ||
        !std::all_of(roundsB.begin(), roundsB.end(), sameQuantities)) {
        throw std::runtime_error("the two binaries measure different quantities");
    }
    printRatios(roundsA, roundsB);
}
