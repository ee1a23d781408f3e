// brimbolt_soak: whole races, one after another, through the application
// with drawing, watching for what grows when the show runs for hours.
//
//     cd bin && xvfb-run -a ../build/tools/soak/brimbolt_soak
//     cd bin && xvfb-run -a ../build/tools/soak/brimbolt_soak --races 2 --draw-every 300 --json soak.json
//
// Per race it prints the resident memory, the live GL objects after the
// restart, the GL errors and the times of the frames drawn. It exits 1 when
// the memory grows by more than 5% from the first race to the last, the live
// GL objects differ between restarts, any GL error is seen, or the last
// race's median frame time is more than 10% above the first's.
#include "SoakOptions.h"
#include "SoakReport.h"
#include "SoakRun.h"

#include "gl/GLObject.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>

int main(int argc, char** argv)
{
    SoakOptions options;
    if (const std::optional<int> status = options.parse(argc, argv)) {
        return *status;
    }
    const auto started = std::chrono::steady_clock::now();
    SoakRun run(options);
    SoakReport report(options);
    try {
        if (!run.start()) {
            return 1;
        }
        report.printHeader();
        for (int race = 1; race <= options.races; ++race) {
            const RaceResult result = run.runRace(race);
            report.add(result);
            if (!result.startedOver) {
                break; // the next race would not start either
            }
        }
    } catch (const char* message) {
        std::fprintf(stderr, "brimbolt_soak: %s\n", message);
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brimbolt_soak: %s\n", error.what());
        return 1;
    } catch (...) {
        std::fprintf(stderr, "brimbolt_soak: stopped by an unknown error\n");
        return 1;
    }
    run.shutDown();

    SoakReport::RunFacts facts;
    facts.liveGLObjectsAtStart = run.liveGLObjectsAtStart();
    facts.liveGLObjectsAtEnd = liveGLObjectCount();
    facts.debugOutputErrors = run.errors().debugOutputErrors();
    facts.getErrorErrors = run.errors().getErrorErrors();
    facts.debugContext = run.errors().debugContext();
    facts.debugOutput = run.errors().debugOutput();
    facts.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const bool passed = report.check(facts);
    std::printf("%s after %.1f s\n", passed ? "Passed" : "Failed", facts.wallSeconds);
    const bool written = options.jsonPath.empty() || report.writeJson(options.jsonPath);
    return passed && written ? 0 : 1;
}
