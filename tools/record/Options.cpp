#include "Options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

bool number(const char* text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0';
}

// "1/30" or "0.0333".
bool stepValue(const char* text, double& value)
{
    if (const char* slash = std::strchr(text, '/')) {
        double numerator = 0.0;
        double denominator = 0.0;
        std::string head(text, slash);
        if (!number(head.c_str(), numerator) || !number(slash + 1, denominator) || denominator <= 0.0) {
            return false;
        }
        value = numerator / denominator;
        return value > 0.0;
    }
    return number(text, value) && value > 0.0;
}

} // namespace

void Options::printUsage()
{
    std::fprintf(stderr,
                 "usage: brimbolt_record [--size WxH] [--step 1/30] [--length SECONDS] [--seed N]\n"
                 "                       [--output FILE.mp4 | --at T1,T2,... [--stills FOLDER] [--every-step]]\n"
                 "Run from bin/. Records the race (default: all of it, 1280x720, 30 frames a second)\n"
                 "with its sound, or writes PNG stills at the given race times (drawing only the\n"
                 "last steps before each, or every step with --every-step).\n");
}

bool Options::parse(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--every-step") {
            drawEveryStep = true;
            continue;
        }
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = value != nullptr;
        if (argument == "--size" && ok) {
            ok = std::sscanf(value, "%dx%d", &width, &height) == 2 && width >= 16 && height >= 16 && width <= 8192 &&
                 height <= 8192;
        } else if (argument == "--step" && ok) {
            ok = stepValue(value, step);
        } else if (argument == "--length" && ok) {
            ok = number(value, length) && length > 0.0;
        } else if (argument == "--seed" && ok) {
            seed = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
        } else if (argument == "--output" && ok) {
            output = value;
        } else if (argument == "--stills" && ok) {
            stillFolder = value;
        } else if (argument == "--at" && ok) {
            std::stringstream list(value);
            std::string item;
            while (ok && std::getline(list, item, ',')) {
                double time = 0.0;
                ok = number(item.c_str(), time) && time >= 0.0;
                stills.push_back(time);
            }
        } else {
            std::fprintf(stderr, "brimbolt_record: cannot use '%s'%s%s\n", argument.c_str(), value ? " " : "",
                         value ? value : "");
            printUsage();
            return false;
        }
        if (!ok) {
            std::fprintf(stderr, "brimbolt_record: bad value for %s: '%s'\n", argument.c_str(), value ? value : "");
            printUsage();
            return false;
        }
        ++i;
    }
    return true;
}
