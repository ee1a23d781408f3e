// Writes the showcase's content: brimbolt_content <data root>. The output is
// the same bytes on every run, so builds stay reproducible.
#include "CommandLine.h"
#include "ContentGenerators.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace {

constexpr const char* usage =
    "usage: brimbolt_content DATA_ROOT\n"
    "Writes every model, texture and sound the program loads into DATA_ROOT/models,\n"
    "DATA_ROOT/textures and DATA_ROOT/music (the build writes brimbolt/). Every run\n"
    "writes the same bytes, so builds stay reproducible.\n";

} // namespace

int main(int argc, char** argv)
{
    CommandLine commandLine("brimbolt_content", usage);
    commandLine.takePositionals(1);
    if (const std::optional<int> status = commandLine.parse(argc, argv)) {
        return *status;
    }
    if (commandLine.positionals().empty()) {
        return commandLine.refuse("missing DATA_ROOT");
    }
    const std::filesystem::path root = commandLine.positionals()[0];
    const std::filesystem::path models = root / "models";
    const std::filesystem::path textures = root / "textures";
    const std::filesystem::path music = root / "music";
    for (const auto& dir : {models, textures, music}) {
        std::filesystem::create_directories(dir);
    }

    auto started = std::chrono::steady_clock::now();
    bool ok = generatePictures(textures);
    ok = generateRoom(models, textures) && ok;
    ok = generateModels(models, textures) && ok;
    ok = generateSounds(music) && ok;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("Content generated in %.1f s%s\n", seconds, ok ? "" : " with errors");
    return ok ? 0 : 1;
}
