#pragma once

#include "RaceResult.h"
#include "SoakOptions.h"

#include <string>
#include <vector>

// The soak's table, one row a race as each ends, its pass/fail checks and
// its JSON file.
class SoakReport {
public:
    // What the run saw outside the races.
    struct RunFacts {
        long liveGLObjectsAtStart = 0;   // after loading and the first restart
        long liveGLObjectsAtEnd = 0;     // after the application was deleted
        long debugOutputErrors = 0;      // the whole run: loading, races, teardown
        long getErrorErrors = 0;
        bool debugContext = false;
        bool debugOutput = false;
        double wallSeconds = 0.0;
    };

    explicit SoakReport(const SoakOptions& options);

    void printHeader() const;
    // Keeps the race and prints its row.
    void add(const RaceResult& race);
    // Runs the checks on the races so far and prints each; true when all pass.
    bool check(const RunFacts& facts);
    // False, with the reason printed, when the file cannot be written.
    bool writeJson(const std::string& path) const;

private:
    struct Check {
        std::string name;
        bool passed = false;
        std::string detail;
    };

    void addCheck(const char* name, bool passed, const std::string& detail);

    const SoakOptions& options;
    std::vector<RaceResult> races;
    RunFacts facts;
    std::vector<Check> checks;
};
