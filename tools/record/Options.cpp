#include "Options.h"

#include "QualityOption.h"

#include "CommandLine.h"
#include "OptionValues.h"

#include <limits>

namespace {

constexpr const char* usage =
    "usage: brimbolt_record [--size WxH] [--step 1/30] [--length SECONDS] [--seed N] [--quality full|fast]\n"
    "                       [--output FILE.mp4 | --at T1,T2,... [--stills FOLDER] [--every-step]]\n"
    "Run from bin/. Records the race (default: all of it, 1280x720, 30 frames a second)\n"
    "with its sound, or writes PNG stills at the given race times (drawing only the\n"
    "last frames before each, or every frame with --every-step). --step is the video's\n"
    "frame time; the race runs on the program's race clock under it, at the quality of\n"
    "bin/config.txt unless --quality says otherwise.\n";

} // namespace

std::optional<int> Options::parse(int argc, char** argv)
{
    using namespace optionvalues;
    CommandLine commandLine("brimbolt_record", usage);
    commandLine.option("--size", "WxH from 16x16 to 8192x8192",
                       [this](std::string_view text) { return readSize(text, width, height, 16, 8192); });
    commandLine.option("--step", "seconds above 0, as 1/30 or 0.0333",
                       [this](std::string_view text) { return readFraction(text, step); });
    commandLine.option("--length", "seconds above 0",
                       [this](std::string_view text) { return readPositiveNumber(text, length); });
    commandLine.option("--seed", "a whole number from 0", [this](std::string_view text) {
        return readWholeNumber(text, seed, 0u, std::numeric_limits<unsigned>::max());
    });
    commandLine.option("--output", "a file name", output);
    commandLine.option("--stills", "a folder", stillFolder);
    commandLine.option("--at", "race times from 0, separated by commas", [this](std::string_view text) {
        return readList(text, [this](std::string_view item) {
            double time = 0.0;
            if (!readNumber(item, time, 0.0)) {
                return false;
            }
            stills.push_back(time);
            return true;
        });
    });
    commandLine.flag("--every-step", [this] { drawEveryStep = true; });
    addQualityOption(commandLine, quality);
    return commandLine.parse(argc, argv);
}
