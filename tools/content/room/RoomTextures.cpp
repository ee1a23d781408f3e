#include "room/RoomTextures.h"

#include "room/RoomMaterials.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace room {

float tileNoise(float u, float v, int freqU, int freqV, std::uint32_t seed)
{
    return noise::periodicValue(noise::room, {u * float(freqU), v * float(freqV)}, {freqU, freqV}, seed);
}

float tileFbm(float u, float v, int freqU, int freqV, int octaves, std::uint32_t seed)
{
    return noise::periodicFbm(noise::room, {u * float(freqU), v * float(freqV)}, {freqU, freqV}, octaves, 0.5f, seed);
}

glm::vec3 mixColour(const glm::vec3& a, const glm::vec3& b, float t)
{
    return a + (b - a) * std::clamp(t, 0.0f, 1.0f);
}

float woodRing(float ringCoordinate)
{
    float f = ringCoordinate - std::floor(ringCoordinate);
    // Late wood: a narrow dark band that fades gently into the next year's early wood.
    return std::pow(1.0f - f, 5.0f) * 0.7f + glm::smoothstep(0.9f, 1.0f, f) * 0.3f;
}

bool writeRoomTextures(const std::filesystem::path& dir)
{
    using Maker = Image (*)();
    const std::pair<const char*, Maker> pictures[] = {
        {textures::floor, makeFloorTexture},     {textures::wood, makeWoodTexture},
        {textures::door, makeDoorTexture},       {textures::wall, makeWallTexture},
        {textures::ceiling, makeCeilingTexture}, {textures::window, makeWindowTexture},
        {textures::rug, makeRugTexture},         {textures::sofa, makeSofaTexture},
        {textures::linen, makeLinenTexture},     {textures::curtain, makeCurtainTexture},
        {textures::books, makeBooksTexture},     {textures::hills, makeHillsPainting},
        {textures::sea, makeSeaPainting},
    };
    bool ok = true;
    for (const auto& [name, make] : pictures) {
        const std::filesystem::path file = dir / name;
        const bool png = file.extension() == ".png";
        ok = (png ? writePngRgb(make(), file) : writeJpegRgb(make(), file, surfaceJpeg)) && ok;
    }
    return ok;
}

} // namespace room
