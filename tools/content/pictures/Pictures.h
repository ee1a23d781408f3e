#pragma once

#include <filesystem>

// The picture generator's parts; each writes its files into the texture
// folder and returns false (after printing which file failed) on error.
bool writeSprites(const std::filesystem::path& textureDir);      // white, smoke, explosion
bool writeStartPicture(const std::filesystem::path& textureDir); // start
bool writeCredits(const std::filesystem::path& textureDir);      // credits
bool writeNumberAtlas(const std::filesystem::path& textureDir);  // numbers
bool writeGlyphAtlas(const std::filesystem::path& textureDir);   // glyphs
bool writeBrickMaps(const std::filesystem::path& textureDir);    // brick09n/b/s
bool writeTorusRelief(const std::filesystem::path& textureDir);  // rtrTexture_NRM/_DISP
