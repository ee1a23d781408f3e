#include "BenchmarkOptions.h"

#include "CommandLine.h"
#include "OptionValues.h"
#include "QualityOption.h"

#include <limits>
#include <string_view>

void addBenchmarkOptions(CommandLine& commandLine, BenchmarkOptions& options)
{
    using optionvalues::readWholeNumber;
    constexpr int most = std::numeric_limits<int>::max();
    commandLine.option("--size", "WIDTHxHEIGHT, each a positive whole number", [&options](std::string_view text) {
        return optionvalues::readSize(text, options.width, options.height, 1, most);
    });
    const auto positive = [&commandLine](const char* name, int& value) {
        commandLine.option(name, "a positive whole number",
                           [&value](std::string_view text) { return readWholeNumber(text, value, 1, most); });
    };
    positive("--frames", options.frames);
    positive("--frame-rate", options.frameRate);
    positive("--rounds", options.rounds);
    commandLine.option("--json", "a file name", options.jsonPath);
    addQualityOption(commandLine, options.quality);
}

std::vector<std::string> raceArguments(const BenchmarkOptions& options, const std::string& jsonPath)
{
    std::vector<std::string> arguments{"race",
                                       "--size", std::to_string(options.width) + "x" + std::to_string(options.height),
                                       "--frames", std::to_string(options.frames),
                                       "--frame-rate", std::to_string(options.frameRate),
                                       "--json", jsonPath};
    if (options.quality) {
        arguments.insert(arguments.end(),
                         {"--quality", *options.quality == RenderQuality::Level::Fast ? "fast" : "full"});
    }
    return arguments;
}
