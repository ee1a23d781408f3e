#include "RaceReport.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace {

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + '"';
}

// One statistic per line in a fixed shape, which is all readMedians expects.
void writeStatistic(std::ostream& out, const Statistic& statistic, bool last)
{
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "{\"mean\": %.4f, \"median\": %.4f}", statistic.mean, statistic.median);
    out << "    " << quoted(statistic.name) << ": " << numbers << (last ? "\n" : ",\n");
}

void printRow(const Statistic& statistic, const char* kind)
{
    std::printf("  %-18s %9.2f %9.2f   %s\n", statistic.name.c_str(), statistic.mean, statistic.median, kind);
}

} // namespace

double median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    const std::size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + middle, values.end());
    if (values.size() % 2 == 1) {
        return values[middle];
    }
    const double below = *std::max_element(values.begin(), values.begin() + middle);
    return (below + values[middle]) / 2.0;
}

Statistic summarise(std::string name, std::vector<double> samples)
{
    Statistic statistic;
    statistic.name = std::move(name);
    if (!samples.empty()) {
        statistic.mean = std::accumulate(samples.begin(), samples.end(), 0.0) / samples.size();
        statistic.median = median(std::move(samples));
    }
    return statistic;
}

void printReport(const RaceReport& report)
{
    std::printf("Race at %dx%d, quality %s, on %s, %d frames at each of", report.width, report.height,
                report.quality.c_str(), report.renderer.c_str(), report.frames);
    for (double time : report.raceTimes) {
        std::printf(" %g", time);
    }
    std::printf(" s, %d frames a second of %d race steps each (GPU times of %d frames, %d lost):\n",
                report.frameRate, report.raceSteps, report.gpuFrames, report.lostFrames);
    std::printf("  %-18s %9s %9s\n", "", "mean ms", "median ms");
    for (const Statistic& pass : report.gpu) {
        printRow(pass, "GPU");
    }
    printRow(report.update, "CPU (processor time)");
    printRow(report.draw, "CPU (submission)");
}

void writeReport(const RaceReport& report, const std::string& path)
{
    std::ofstream out(path);
    out << "{\n  \"renderer\": " << quoted(report.renderer) << ",\n  \"quality\": " << quoted(report.quality) << ",\n"
        << "  \"width\": " << report.width << ",\n  \"height\": " << report.height << ",\n"
        << "  \"frames\": " << report.frames << ",\n  \"frame_rate\": " << report.frameRate
        << ",\n  \"race_steps_per_frame\": " << report.raceSteps << ",\n  \"race_times_s\": [";
    for (std::size_t i = 0; i < report.raceTimes.size(); ++i) {
        out << (i > 0 ? ", " : "") << report.raceTimes[i];
    }
    out << "],\n  \"gpu_frames\": " << report.gpuFrames << ",\n  \"lost_frames\": " << report.lostFrames
        << ",\n  \"gpu_ms\": {\n";
    for (std::size_t i = 0; i < report.gpu.size(); ++i) {
        writeStatistic(out, report.gpu[i], i + 1 == report.gpu.size());
    }
    out << "  },\n  \"cpu_ms\": {\n";
    writeStatistic(out, report.update, false);
    writeStatistic(out, report.draw, true);
    out << "  }\n}\n";
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::vector<std::pair<std::string, double>> readMedians(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    static const std::regex row(R"re("([^"]+)": \{"mean": [-0-9.eE+]+, "median": ([-0-9.eE+]+)\})re");
    std::vector<std::pair<std::string, double>> medians;
    for (auto match = std::sregex_iterator(content.begin(), content.end(), row); match != std::sregex_iterator();
         ++match) {
        medians.emplace_back((*match)[1].str(), std::stod((*match)[2].str()));
    }
    if (medians.empty()) {
        throw std::runtime_error("no race results in " + path);
    }
    return medians;
}
