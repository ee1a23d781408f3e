#include "SoakOptions.h"

#include "CommandLine.h"
#include "OptionValues.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr const char* usage =
    "usage: brimbolt_soak [--races N] [--step 1/30] [--size WxH] [--draw-every K]\n"
    "                     [--frame-time-margin PERCENT] [--seed N] [--json FILE]\n"
    "Run from bin/. Runs N whole races (default 10) through the application in frames of\n"
    "a fixed time (--step) on its race clock, with its sound captured, draws one frame\n"
    "in K (default: one a race second) at\n"
    "320x180, and prints per race the resident memory, the live GL objects after the\n"
    "restart, the GL errors and the frame times. Exits 1 when memory grows by more than\n"
    "5%, the live GL objects change between restarts, any GL error is seen, or the last\n"
    "race's median frame time is more than PERCENT (default 10) above the first's.\n";

} // namespace

std::optional<int> SoakOptions::parse(int argc, char** argv)
{
    using namespace optionvalues;
    CommandLine commandLine("brimbolt_soak", usage);
    commandLine.option("--races", "a whole number from 1 to 1000",
                       [this](std::string_view text) { return readWholeNumber(text, races, 1, 1000); });
    commandLine.option("--step", "seconds from 0.001 to 1, as 1/30 or 0.0333",
                       [this](std::string_view text) { return readFraction(text, step, 0.001, 1.0); });
    commandLine.option("--size", "WxH from 16x16 to 8192x8192",
                       [this](std::string_view text) { return readSize(text, width, height, 16, 8192); });
    commandLine.option("--draw-every", "a whole number from 1 to 1000000",
                       [this](std::string_view text) { return readWholeNumber(text, drawEvery, 1, 1000000); });
    commandLine.option("--json", "a file name", jsonPath);
    commandLine.option("--frame-time-margin", "a percentage from 0",
                       [this](std::string_view text) { return readNumber(text, frameTimeMarginPercent, 0.0); });
    commandLine.option("--seed", "a whole number from 0", [this](std::string_view text) {
        return readWholeNumber(text, seed, 0u, std::numeric_limits<unsigned>::max());
    });
    return commandLine.parse(argc, argv);
}

int SoakOptions::framesPerDrawnFrame() const
{
    return drawEvery > 0 ? drawEvery : std::max(1, static_cast<int>(std::lround(1.0 / step)));
}
