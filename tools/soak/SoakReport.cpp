#include "SoakReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// Memory may settle a little higher after the first race (caches filled by
// views first drawn later), but not keep growing.
constexpr double residentGrowthLimit = 0.05;
constexpr double frameWorkLimit = 0.10;

// AddressSanitizer keeps freed blocks in a quarantine of up to 256 MiB before
// reusing them, so resident memory climbs through the first races of a
// sanitized run with nothing leaked; there LeakSanitizer checks for leaks.
// (The sanitizer preset builds with g++, which names the sanitizer thus.)
#if defined(__SANITIZE_ADDRESS__)
constexpr bool freedMemoryQuarantined = true;
#else
constexpr bool freedMemoryQuarantined = false;
#endif

// In the order of GLObjectKind.
constexpr const char* kindNames[] = {
    "texture", "framebuffer",   "renderbuffer",   "buffer",         "vertexArray",
    "query",   "program",       "vertexShader",   "fragmentShader", "geometryShader",
};
static_assert(std::size(kindNames) == glObjectKindCount, "a name for every kind of GL object");

std::string format(const char* pattern, double a, double b = 0.0, double c = 0.0)
{
    char text[256];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

std::string jsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            quoted += ' ';
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

} // namespace

SoakReport::SoakReport(const SoakOptions& options)
    : options(options)
{
}

void SoakReport::printHeader() const
{
    std::printf("%d races in frames of %.4f s, %dx%d, one frame drawn in %d\n", options.races, options.step,
                options.width, options.height, options.framesPerDrawnFrame());
    std::printf("race  frames  race (s)  drawn  RSS (MiB)  live GL objects  GL errors (debug/glGetError)  "
                "frame mean (ms)  frame median (ms)  frame CPU median (ms)  primitives median  wall (s)\n");
    std::fflush(stdout);
}

void SoakReport::add(const RaceResult& race)
{
    races.push_back(race);
    std::printf("%4d  %6ld  %8.2f  %5d  %9.1f  %15ld  %17ld/%ld  %15.1f  %17.1f  %21.1f  %17.0f  %8.1f%s\n",
                race.race, race.steps, race.raceSeconds, race.framesDrawn, race.residentKiB / 1024.0,
                race.liveGLObjects, race.debugOutputErrors, race.getErrorErrors, race.meanFrameMs, race.medianFrameMs,
                race.medianFrameCpuMs, race.medianFramePrimitives, race.wallSeconds,
                race.startedOver ? "" : "  (did not start over)");
    std::fflush(stdout);
}

void SoakReport::addCheck(const char* name, bool passed, const std::string& detail)
{
    checks.push_back({name, passed, detail});
    std::printf("%s %s: %s\n", passed ? "ok  " : "FAIL", name, detail.c_str());
}

bool SoakReport::check(const RunFacts& runFacts)
{
    facts = runFacts;
    checks.clear();
    if (races.empty()) {
        addCheck("races", false, "no race was run");
        return false;
    }
    const RaceResult& first = races.front();
    const RaceResult& last = races.back();

    int notStartedOver = 0;
    for (const RaceResult& race : races) {
        notStartedOver += race.startedOver ? 0 : 1;
    }
    addCheck("races", notStartedOver == 0,
             notStartedOver == 0 ? std::to_string(races.size()) + " races each ran to their end and started over"
                                 : std::to_string(notStartedOver) + " races did not start over");

    if (first.residentKiB > 0 && last.residentKiB > 0) {
        const double growth = static_cast<double>(last.residentKiB) / static_cast<double>(first.residentKiB) - 1.0;
        const std::string measured = format("RSS %.1f MiB after race 1, %.1f MiB after the last: %+.1f%%",
                                            first.residentKiB / 1024.0, last.residentKiB / 1024.0, growth * 100.0);
        if (freedMemoryQuarantined) {
            addCheck("memory", true, measured + " (not compared: AddressSanitizer holds freed memory back)");
        } else {
            addCheck("memory", growth <= residentGrowthLimit, measured + " (limit +5%)");
        }
    } else {
        addCheck("memory", false, "VmRSS could not be read");
    }

    std::string changed;
    for (const RaceResult& race : races) {
        for (int kind = 0; kind < glObjectKindCount; ++kind) {
            const auto k = static_cast<std::size_t>(kind);
            if (race.liveGLObjectsByKind[k] != first.liveGLObjectsByKind[k]) {
                changed += " race " + std::to_string(race.race) + " " + kindNames[kind] + " " +
                           std::to_string(first.liveGLObjectsByKind[k]) + "->" +
                           std::to_string(race.liveGLObjectsByKind[k]) + ";";
            }
        }
    }
    addCheck("GL objects", changed.empty(),
             changed.empty() ? std::to_string(first.liveGLObjects) + " live after every restart (" +
                                   std::to_string(facts.liveGLObjectsAtStart) + " at the start, " +
                                   std::to_string(facts.liveGLObjectsAtEnd) + " after shutdown)"
                             : "the live objects changed against race 1:" + changed);

    const long errors = facts.debugOutputErrors + facts.getErrorErrors;
    addCheck("GL errors", errors == 0,
             std::to_string(facts.debugOutputErrors) + " from the debug output" +
                 (facts.debugOutput ? "" : " (not available)") + ", " + std::to_string(facts.getErrorErrors) +
                 " from glGetError, over the whole run" + (facts.debugContext ? " in a debug context" : ""));

    if (first.framesDrawn > 0 && last.framesDrawn > 0) {
        const double rise = last.medianFrameMs / first.medianFrameMs - 1.0;
        addCheck("frame time", rise * 100.0 <= options.frameTimeMarginPercent,
                 format("median %.1f ms in race 1, %.1f ms in the last: %+.1f%%", first.medianFrameMs,
                        last.medianFrameMs, rise * 100.0) +
                     format(" (limit +%.0f%%); processor time", options.frameTimeMarginPercent) +
                     format(" %.1f ms, %.1f ms: %+.1f%%", first.medianFrameCpuMs, last.medianFrameCpuMs,
                            (last.medianFrameCpuMs / first.medianFrameCpuMs - 1.0) * 100.0));
        // What the frames draw does not depend on the machine, so it may
        // not move either way: more would be a list that grows, less
        // something the restart lost.
        const double workChange = last.medianFramePrimitives / std::max(first.medianFramePrimitives, 1.0) - 1.0;
        addCheck("frame work", std::abs(workChange) <= frameWorkLimit,
                 format("median %.0f primitives a frame in race 1, %.0f in the last: %+.2f%% (limit 10%% either way)",
                        first.medianFramePrimitives, last.medianFramePrimitives, workChange * 100.0));
    } else {
        addCheck("frame time", true, "no frame drawn in a race; not compared");
    }

    for (const Check& c : checks) {
        if (!c.passed) {
            return false;
        }
    }
    return true;
}

bool SoakReport::writeJson(const std::string& path) const
{
    std::ofstream out(path);
    if (!out) {
        std::fprintf(stderr, "brimbolt_soak: cannot write %s\n", path.c_str());
        return false;
    }
    out << "{\n  \"step\": " << options.step << ",\n  \"width\": " << options.width
        << ",\n  \"height\": " << options.height << ",\n  \"drawEvery\": " << options.framesPerDrawnFrame()
        << ",\n  \"seed\": " << options.seed << ",\n  \"wallSeconds\": " << facts.wallSeconds
        << ",\n  \"liveGLObjectsAtStart\": " << facts.liveGLObjectsAtStart
        << ",\n  \"liveGLObjectsAtEnd\": " << facts.liveGLObjectsAtEnd
        << ",\n  \"debugOutputErrors\": " << facts.debugOutputErrors
        << ",\n  \"getErrorErrors\": " << facts.getErrorErrors
        << ",\n  \"debugContext\": " << (facts.debugContext ? "true" : "false")
        << ",\n  \"debugOutput\": " << (facts.debugOutput ? "true" : "false") << ",\n  \"races\": [";
    for (std::size_t i = 0; i < races.size(); ++i) {
        const RaceResult& race = races[i];
        out << (i ? "," : "") << "\n    {\"race\": " << race.race
            << ", \"startedOver\": " << (race.startedOver ? "true" : "false") << ", \"steps\": " << race.steps
            << ", \"raceSeconds\": " << race.raceSeconds << ", \"framesDrawn\": " << race.framesDrawn
            << ", \"residentKiB\": " << race.residentKiB << ", \"liveGLObjects\": " << race.liveGLObjects
            << ", \"liveGLObjectsByKind\": {";
        for (int kind = 0; kind < glObjectKindCount; ++kind) {
            out << (kind ? ", " : "") << jsonString(kindNames[kind]) << ": "
                << race.liveGLObjectsByKind[static_cast<std::size_t>(kind)];
        }
        out << "}, \"debugOutputErrors\": " << race.debugOutputErrors
            << ", \"getErrorErrors\": " << race.getErrorErrors << ", \"meanFrameMs\": " << race.meanFrameMs
            << ", \"medianFrameMs\": " << race.medianFrameMs << ", \"medianFrameCpuMs\": " << race.medianFrameCpuMs
            << ", \"medianFramePrimitives\": " << race.medianFramePrimitives
            << ", \"wallSeconds\": " << race.wallSeconds << "}";
    }
    out << "\n  ],\n  \"checks\": [";
    for (std::size_t i = 0; i < checks.size(); ++i) {
        out << (i ? "," : "") << "\n    {\"name\": " << jsonString(checks[i].name)
            << ", \"passed\": " << (checks[i].passed ? "true" : "false")
            << ", \"detail\": " << jsonString(checks[i].detail) << "}";
    }
    out << "\n  ],\n  \"passed\": ";
    bool passed = !checks.empty();
    for (const Check& c : checks) {
        passed = passed && c.passed;
    }
    out << (passed ? "true" : "false") << "\n}\n";
    out.close();
    if (!out) {
        std::fprintf(stderr, "brimbolt_soak: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("Wrote %s\n", path.c_str());
    return true;
}
