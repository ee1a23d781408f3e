#include "BenchmarkOptions.h"

#include <stdexcept>
#include <string_view>

namespace {

std::string_view valueOf(int argc, char** argv, int& index)
{
    if (index + 1 >= argc) {
        throw std::invalid_argument(std::string(argv[index]) + " needs a value");
    }
    return argv[++index];
}

int positiveNumber(std::string_view option, std::string_view text)
{
    std::size_t used = 0;
    int number = 0;
    try {
        number = std::stoi(std::string(text), &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || number < 1) {
        throw std::invalid_argument(std::string(option) + " wants a positive whole number, not '" +
                                    std::string(text) + "'");
    }
    return number;
}

} // namespace

bool readBenchmarkOption(int argc, char** argv, int& index, BenchmarkOptions& options)
{
    const std::string_view option = argv[index];
    if (option == "--size") {
        const std::string_view size = valueOf(argc, argv, index);
        const std::size_t cross = size.find('x');
        if (cross == std::string_view::npos) {
            throw std::invalid_argument("--size wants WIDTHxHEIGHT, not '" + std::string(size) + "'");
        }
        options.width = positiveNumber(option, size.substr(0, cross));
        options.height = positiveNumber(option, size.substr(cross + 1));
    } else if (option == "--frames") {
        options.frames = positiveNumber(option, valueOf(argc, argv, index));
    } else if (option == "--frame-rate") {
        options.frameRate = positiveNumber(option, valueOf(argc, argv, index));
    } else if (option == "--json") {
        options.jsonPath = valueOf(argc, argv, index);
    } else if (option == "--rounds") {
        options.rounds = positiveNumber(option, valueOf(argc, argv, index));
    } else {
        return false;
    }
    return true;
}

std::vector<std::string> raceArguments(const BenchmarkOptions& options, const std::string& jsonPath)
{
    return {"race",
            "--size", std::to_string(options.width) + "x" + std::to_string(options.height),
            "--frames", std::to_string(options.frames),
            "--frame-rate", std::to_string(options.frameRate),
            "--json", jsonPath};
}
