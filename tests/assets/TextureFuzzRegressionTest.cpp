// Pictures the fuzz targets (tools/fuzz) found to misbehave inside the image
// libraries, fed to the texture manager byte for byte from
// tests/fuzz/regressions. Each must fail to load with one console line,
// before the library is asked to do what it should not.
#include "assets/AssetTestSupport.h"
#include "assets/TextureManager.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

using assettest::AssetFolder;
using assettest::fuzzRegressionInput;

namespace {

// Lets the process map at most `extra` bytes more than it has mapped now.
void limitAddressSpace(rlim_t extra)
{
    unsigned long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lu", &pages) != 1) {
            pages = 0;
        }
        std::fclose(statm);
    }
    const rlimit limit{pages * 4096 + extra, RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &limit);
}

} // namespace

// A 277-byte 2 x 2 PNG whose zTXt chunk claims 1950679070 bytes: libpng
// asked for a buffer of that size before it found the file ends.
TEST(TextureFuzzRegression, ChunkLongerThanTheFileIsRefusedBeforeDecoding)
{
    AssetFolder folder;
    folder.write("bomb.png", fuzzRegressionInput("texture_png/ztxt-claims-two-gigabytes.png"));
    TextureManager* manager = TextureManager::getInstance();
    bool loaded = true;
    const std::string printed = printedBy([&] { loaded = manager->loadTexture("bomb.png", false); });
    EXPECT_FALSE(loaded);
    EXPECT_EQ(printed, "Texture file '" + folder.path("bomb.png") +
                           "': chunk zTXt claims 1950679070 bytes, more than the file holds; not loaded.\n");
    EXPECT_EQ(manager->textureId("bomb.png"), 0u);

    // Text chunks that keep within the file still load, quietly.
    std::ifstream seed(std::string(BRIMBOLT_SOURCE_DIR) + "/tests/fuzz/corpus/texture_png/rgb-text-chunks-2x2.png",
                       std::ios::binary);
    folder.write("text.png", {std::istreambuf_iterator<char>(seed), std::istreambuf_iterator<char>()});
    TextureManager::DecodedImage decoded;
    EXPECT_EQ(printedBy([&] { decoded = manager->decodeTexture("text.png", false); }), "");
    EXPECT_NE(decoded.pixels, nullptr);
}

// A 164-byte progressive JPEG whose frame claims 65497 x 65496 pixels, behind
// an unknown marker. FreeImage's header-only read still started libjpeg's
// decoder, which claimed and cleared 4.3 GB before the size could be
// refused; now the size is read from the frame marker first. The load runs
// in a child process that may map only half a gigabyte more.
TEST(TextureFuzzRegression, HugeProgressiveJpegIsRefusedBeforeTheDecoderStarts)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#endif
    AssetFolder folder;
    folder.write("huge.jpg", fuzzRegressionInput("texture_jpeg/progressive-frame-of-65497-by-65496.jpg"));
    const std::string expected = "Texture file '" + folder.path("huge.jpg") +
                                 "' is 65497 x 65496 pixels, more than the 8192 a side a texture may have; not loaded.\n";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            limitAddressSpace(rlim_t{512} << 20);
            bool loaded = true;
            const std::string printed =
                printedBy([&] { loaded = TextureManager::getInstance()->loadTexture("huge.jpg", false); });
            std::fputs(printed.c_str(), stderr);
            std::_Exit(!loaded && printed == expected ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
