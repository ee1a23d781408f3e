// A JPEG texture (brimbolt/textures/*.jpg) as the texture manager reads it:
// the file is named ".jpg", which is what picks FreeImage's JPEG reader.
#include "TextureDecodeFuzz.h"

#include <cstddef>
#include <cstdint>

namespace {

const FuzzScratch& scratch()
{
    static const FuzzScratch folder;
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    TextureManager::getInstance()->setTextureDirectory(scratch().folder());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    texturefuzz::decodeAndRead(scratch(), "fuzz.jpg", {reinterpret_cast<const char*>(data), size});
    return 0;
}
