#pragma once

#include <filesystem>

// Each generator writes its files into the given folder and returns false
// (after printing what failed) when a file could not be written.
bool generateSounds(const std::filesystem::path& musicDir);
bool generatePictures(const std::filesystem::path& textureDir);
bool generateRoom(const std::filesystem::path& modelDir, const std::filesystem::path& textureDir);
bool generateModels(const std::filesystem::path& modelDir, const std::filesystem::path& textureDir);
