#pragma once

#include "common/Image.h"
#include "common/Noise.h"

#include <filesystem>

namespace room {

// Writes every texture the room models name (see RoomMaterials.h).
bool writeRoomTextures(const std::filesystem::path& textureDir);

// The individual pictures; each is tileable where the models repeat it.
Image makeFloorTexture();   // oak planks, grain along v
Image makeWoodTexture();    // furniture wood, grain along v
Image makeDoorTexture();    // panelled door, v = 0 at its foot
Image makeWallTexture();    // warm plaster
Image makeCeilingTexture(); // white stipple
Image makeWindowTexture();  // daylight view through the glass
Image makeRugTexture();     // bordered rug with a medallion, v along its length
Image makeSofaTexture();    // woven upholstery
Image makeLinenTexture();   // lamp shade
Image makeCurtainTexture(); // warm woven curtain
Image makeBooksTexture();     // spine atlas, see BookAtlas.h
Image makeHillsPainting();    // framed picture above the sofa
Image makeSeaPainting();      // framed picture on the -x wall

// Noise over a picture's unit square that repeats freqU x freqV times across it.
float tileNoise(float u, float v, int freqU, int freqV, std::uint32_t seed);
float tileFbm(float u, float v, int freqU, int freqV, int octaves, std::uint32_t seed);

// From a to b as t goes from 0 to 1, held at the ends outside that range.
glm::vec3 mixColour(const glm::vec3& a, const glm::vec3& b, float t);

// Dark growth rings of wood for a ring coordinate (one ring per unit): 0 in
// early wood, near 1 on a ring line.
float woodRing(float ringCoordinate);

} // namespace room
