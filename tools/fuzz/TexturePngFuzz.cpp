// A PNG texture (brimbolt/textures/*.png) as the texture manager reads it:
// the file is named ".png", which is what picks FreeImage's PNG reader.
#include "TextureDecodeFuzz.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

const FuzzScratch& scratch()
{
    static const FuzzScratch folder;
    return folder;
}

std::uint32_t readBigEndian(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

// libpng stops at a critical chunk whose CRC is wrong, before it reads the
// chunk, so nearly every mutation would end there. Each whole chunk's CRC is
// written anew, as any file made on purpose carries it.
std::string withChunkCrcs(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t signatureSize = 8;
    constexpr std::size_t chunkFrame = 12; // length, type, CRC
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::size_t at = signatureSize;
    while (at + chunkFrame <= bytes.size()) {
        const std::size_t length = readBigEndian(&bytes[at]);
        if (length > bytes.size() - at - chunkFrame) {
            break;
        }
        const auto* typeAndData = reinterpret_cast<const Bytef*>(&bytes[at + 4]);
        const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, typeAndData, static_cast<uInt>(4 + length)));
        char* crcBytes = &bytes[at + 8 + length];
        crcBytes[0] = static_cast<char>(crc >> 24);
        crcBytes[1] = static_cast<char>(crc >> 16);
        crcBytes[2] = static_cast<char>(crc >> 8);
        crcBytes[3] = static_cast<char>(crc);
        at += chunkFrame + length;
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    TextureManager::getInstance()->setTextureDirectory(scratch().folder());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    texturefuzz::decodeAndRead(scratch(), "fuzz.png", withChunkCrcs(data, size));
    return 0;
}
