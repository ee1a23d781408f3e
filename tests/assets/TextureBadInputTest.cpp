#include "assets/TextureManager.h"

#include "support/AssetFiles.h"
#include "support/GLProgramTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

using namespace assettest;

namespace {

TextureManager* manager()
{
    return TextureManager::getInstance();
}

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The bytes of a picture the fuzz targets (tools/fuzz) found, or of one of their seeds.
std::string fuzzInput(const std::string& name)
{
    return bytesOf(std::string(BRIMBOLT_SOURCE_DIR) + "/tests/fuzz/" + name);
}

// A 1-bit picture: a 16384-pixel square of it is only 32 MB to write, but
// 768 MB once converted for the GL.
bool saveBlankBitmap(const AssetFolder& folder, unsigned width, unsigned height, const std::string& name)
{
    FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 1);
    return image && folder.save(image, FIF_PNG, name);
}

std::string tooLarge(const AssetFolder& folder, const std::string& name, const std::string& size)
{
    return "Texture file '" + folder.path(name) + "' is " + size +
           " pixels, more than the 8192 a side a texture may have; not loaded.\n";
}

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

// The size of a picture: one texel is a texture like any other; past the
// largest side the header alone refuses it, in one line naming the file and
// its size, before any pixel is decoded.
TEST(TextureBadInput, TinyPicturesLoadAndHugeOnesAreRefusedInOneLine)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    ASSERT_TRUE(folder.save(makeSolidImage(1, 1, {200, 100, 50, 255}), FIF_PNG, "dot.png"));
    EXPECT_EQ(printedBy([] { EXPECT_TRUE(manager()->loadTexture("dot.png", false)); }), "");
    const std::vector<std::uint8_t> texel = rendertest::readTexture(manager()->textureId("dot.png"), 1, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(texel.begin(), texel.begin() + 3), (std::vector<std::uint8_t>{200, 100, 50}));

    const unsigned largest = TextureManager::largestTextureSide;
    ASSERT_TRUE(saveBlankBitmap(folder, largest, 1, "widest.png"));
    EXPECT_EQ(printedBy([] { EXPECT_TRUE(manager()->loadTexture("widest.png", false)); }), "");

    ASSERT_TRUE(saveBlankBitmap(folder, 16384, 16384, "huge.png"));
    ASSERT_TRUE(saveBlankBitmap(folder, 1, largest + 1, "tall.png"));
    for (const auto& [name, size] : {std::pair{"huge.png", "16384 x 16384"}, std::pair{"tall.png", "1 x 8193"}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(printedBy([name = name] { EXPECT_FALSE(manager()->loadTexture(name, false)); }),
                  tooLarge(folder, name, size));
        EXPECT_EQ(manager()->textureId(name), 0u);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Noise, an empty file, a PNG named .jpg, text named .png, a PNG cut short
// and a missing file are unreadable: the manager fails silently, and
// loadTextureOrReport says so in one line. A JPEG cut short decodes grey below
// the cut and is used, with one line naming the file and what the decoder said.
TEST(TextureBadInput, UnreadablePicturesFailAndCutJpegsAreUsedWithOneLine)
{
    GL_TEST_SETUP(context);
    AssetFolder folder;
    std::srand(7);
    std::string noise;
    for (int i = 0; i < 4096; ++i) {
        noise += static_cast<char>(std::rand() & 0xff);
    }
    folder.write("noise.png", noise);
    folder.write("noise.jpg", noise);
    folder.write("empty.png", "");
    folder.write("badBody.png", std::string("\x89PNG\r\n\x1a\n", 8) + noise);
    folder.write("badBody.jpg", std::string("\xff\xd8\xff\xe0", 4) + noise);
    folder.write("letter.png", "Dear reader, this is no picture.\n");
    ASSERT_TRUE(folder.save(makeImage(8, 8, 24), FIF_PNG, "renamed.jpg"));
    for (const auto format : {FIF_PNG, FIF_JPEG}) {
        const std::string name = format == FIF_PNG ? "whole.png" : "whole.jpg";
        ASSERT_TRUE(folder.save(makeImage(64, 64, 24), format, name));
        const std::string bytes = bytesOf(folder.path(name));
        folder.write("cut_" + name, bytes.substr(0, bytes.size() * 6 / 10));
    }
    for (const char* name :
         {"noise.png", "noise.jpg", "empty.png", "renamed.jpg", "letter.png", "cut_whole.png", "absent.png"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(printedBy([name] { EXPECT_FALSE(manager()->loadTexture(name, false)); }), "");
        EXPECT_EQ(manager()->textureId(name), 0u);
        EXPECT_EQ(printedBy([name] { EXPECT_FALSE(manager()->loadTextureOrReport(name, false)); }),
                  std::string("Error loading texture '") + name + "'\n");
    }
    EXPECT_EQ(printedBy([] { EXPECT_TRUE(manager()->loadTextureOrReport("whole.jpg", false)); }), "");

    const std::string printed = printedBy([] { EXPECT_TRUE(manager()->loadTexture("cut_whole.jpg", false)); });
    EXPECT_EQ(printed.rfind("Texture file '" + folder.path("cut_whole.jpg") + "': ", 0), 0u) << printed;
    EXPECT_NE(printed.find("; drawn as read.\n"), std::string::npos) << printed;
    EXPECT_EQ(lineCount(printed), 1) << printed;
    EXPECT_NE(manager()->textureId("cut_whole.jpg"), 0u);

    // A signature before noise is refused or decoded as far as it goes.
    printedBy([] {
        EXPECT_FALSE(manager()->loadTexture("badBody.png", false));
        EXPECT_EQ(manager()->loadTexture("badBody.jpg", false), manager()->textureId("badBody.jpg") != 0);
    });
}

// A 277-byte 2 x 2 PNG whose zTXt chunk claims 1950679070 bytes: libpng
// asked for a buffer of that size before it found the file ends. Text
// chunks that keep within the file still load, quietly.
TEST(TextureBadInput, FuzzedChunkLongerThanTheFileIsRefusedBeforeDecoding)
{
    AssetFolder folder;
    folder.write("bomb.png", fuzzInput("regressions/texture_png/ztxt-claims-two-gigabytes.png"));
    EXPECT_EQ(printedBy([] { EXPECT_FALSE(manager()->loadTexture("bomb.png", false)); }),
              "Texture file '" + folder.path("bomb.png") +
                  "': chunk zTXt claims 1950679070 bytes, more than the file holds; not loaded.\n");
    EXPECT_EQ(manager()->textureId("bomb.png"), 0u);

    folder.write("text.png", fuzzInput("corpus/texture_png/rgb-text-chunks-2x2.png"));
    TextureManager::DecodedImage decoded;
    EXPECT_EQ(printedBy([&] { decoded = manager()->decodeTexture("text.png", false); }), "");
    EXPECT_NE(decoded.pixels, nullptr);
}

// A 4 kB progressive JPEG whose frame claims 65497 x 65496 pixels: the
// decoder asked for 12 GB before reading a scan. Run in a child process with
// 512 MB of address space to spare, so a decoder that starts fails there
// instead of taking the machine's memory.
TEST(TextureBadInput, FuzzedHugeProgressiveJpegIsRefusedBeforeTheDecoderStarts)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#endif
    AssetFolder folder;
    folder.write("huge.jpg", fuzzInput("regressions/texture_jpeg/progressive-frame-of-65497-by-65496.jpg"));
    const std::string expected = tooLarge(folder, "huge.jpg", "65497 x 65496");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            limitAddressSpace(rlim_t{512} << 20);
            bool loaded = true;
            const std::string printed = printedBy([&] { loaded = manager()->loadTexture("huge.jpg", false); });
            std::fputs(printed.c_str(), stderr);
            std::_Exit(!loaded && printed == expected ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
