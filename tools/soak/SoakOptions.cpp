#include "SoakOptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool number(const char* text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(value);
}

bool wholeNumber(const char* text, int& value, int least, int most)
{
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < least || parsed > most) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

// "1/30" or "0.0333"; between a thousandth of a second and one second.
bool stepValue(const char* text, double& value)
{
    if (const char* slash = std::strchr(text, '/')) {
        double numerator = 0.0;
        double denominator = 0.0;
        const std::string head(text, slash);
        if (!number(head.c_str(), numerator) || !number(slash + 1, denominator) || denominator <= 0.0) {
            return false;
        }
        value = numerator / denominator;
    } else if (!number(text, value)) {
        return false;
    }
    return value >= 0.001 && value <= 1.0;
}

} // namespace

void SoakOptions::printUsage()
{
    std::fprintf(stderr,
                 "usage: brimbolt_soak [--races N] [--step 1/30] [--size WxH] [--draw-every K]\n"
                 "                     [--frame-time-margin PERCENT] [--seed N] [--json FILE]\n"
                 "Run from bin/. Runs N whole races (default 10) through the application in frames of\n"
                 "a fixed time (--step) on its race clock, with its sound captured, draws one frame\n"
                 "in K (default: one a race second) at\n"
                 "320x180, and prints per race the resident memory, the live GL objects after the\n"
                 "restart, the GL errors and the frame times. Exits 1 when memory grows by more than\n"
                 "5%%, the live GL objects change between restarts, any GL error is seen, or the last\n"
                 "race's median frame time is more than PERCENT (default 10) above the first's.\n");
}

bool SoakOptions::parse(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = value != nullptr;
        if (argument == "--races" && ok) {
            ok = wholeNumber(value, races, 1, 1000);
        } else if (argument == "--step" && ok) {
            ok = stepValue(value, step);
        } else if (argument == "--size" && ok) {
            char tail = 0;
            ok = std::sscanf(value, "%dx%d%c", &width, &height, &tail) == 2 && width >= 16 && height >= 16 &&
                 width <= 8192 && height <= 8192;
        } else if (argument == "--draw-every" && ok) {
            ok = wholeNumber(value, drawEvery, 1, 1000000);
        } else if (argument == "--json" && ok) {
            jsonPath = value;
        } else if (argument == "--frame-time-margin" && ok) {
            ok = number(value, frameTimeMarginPercent) && frameTimeMarginPercent >= 0.0;
        } else if (argument == "--seed" && ok) {
            int parsed = 0;
            ok = wholeNumber(value, parsed, 0, 1 << 30);
            seed = static_cast<unsigned>(parsed);
        } else {
            std::fprintf(stderr, "brimbolt_soak: cannot use '%s'%s%s\n", argument.c_str(), value ? " " : "",
                         value ? value : "");
            printUsage();
            return false;
        }
        if (!ok) {
            std::fprintf(stderr, "brimbolt_soak: bad value for %s: '%s'\n", argument.c_str(), value ? value : "");
            printUsage();
            return false;
        }
        ++i;
    }
    return true;
}

int SoakOptions::framesPerDrawnFrame() const
{
    return drawEvery > 0 ? drawEvery : std::max(1, static_cast<int>(std::lround(1.0 / step)));
}
