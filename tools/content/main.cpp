// Writes the showcase's content: brimbolt_content <data root>. The output is
// the same bytes on every run, so builds stay reproducible.
#include "ContentGenerators.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <data root, e.g. brimbolt>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
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
