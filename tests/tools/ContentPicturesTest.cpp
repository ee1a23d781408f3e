// Every generated picture, loaded through the program's texture manager with
// the alpha setting its user passes, comes out in the format it is drawn with.
#include "assets/TextureManager.h"
#include "scene/RoomLayout.h"

#include "support/AssetFiles.h"
#include "support/GLProgramTestSupport.h"
#include "support/GLTestContext.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace assettest;
using namespace rendertest;

namespace {

enum class Use { Blended, GreyScale, Opaque };

// Drawn blended: particles, credits, the lap numbers and the overlay's letters. Read as height maps:
// the relief pictures. Everything else, the room's textures included, is opaque.
Use useOf(const std::string& name)
{
    const std::set<std::string> blended{"smoke.png", "explosion.png", "credits.png", "numbers.png", "glyphs.png"};
    const std::set<std::string> heightMaps{"brick09b.jpg", "rtrTexture_DISP.jpg", "sampledDisplacement.jpg"};
    return blended.count(name) ? Use::Blended : heightMaps.count(name) ? Use::GreyScale : Use::Opaque;
}

// The upload takes the decoded pixels as they are, so the file itself must
// already have the depth of its format: 32 bits with alpha, 24 without, 8 grey.
unsigned fileBitsPerPixel(const std::string& name)
{
    const std::string path = TextureManager::getInstance()->texturePath(name);
    FIBITMAP* image = FreeImage_Load(TextureManager::isJpegName(name) ? FIF_JPEG : FIF_PNG, path.c_str(), 0);
    const unsigned bits = image ? FreeImage_GetBPP(image) : 0;
    FreeImage_Unload(image);
    return bits;
}

} // namespace

TEST(ContentPictures, EveryPictureLoadsInTheFormatItIsUsedWith)
{
    GL_TEST_SETUP(context);
    AssetFolder restoresTheManager; // and deletes the textures at the end
    const std::string folder = std::string(BRIMBOLT_SOURCE_DIR "/bin/") + roomLayout::textureFolder;
    TextureManager* manager = TextureManager::getInstance();
    manager->setTextureDirectory(folder);

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    int blended = 0;
    int greyScale = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const Use use = useOf(name);
        ASSERT_TRUE(manager->loadTexture(name, use == Use::Blended));
        const GLuint texture = manager->textureId(name);
        const GLint format = textureParameter(texture, GL_TEXTURE_INTERNAL_FORMAT, 0);
        const int width = textureParameter(texture, GL_TEXTURE_WIDTH, 0);
        const int height = textureParameter(texture, GL_TEXTURE_HEIGHT, 0);
        if (use == Use::Blended) {
            ++blended;
            EXPECT_TRUE(format == GL_RGBA || format == GL_RGBA8) << std::hex << format;
            EXPECT_EQ(fileBitsPerPixel(name), 32u);
            // Clear somewhere and solid somewhere, or blending shows nothing.
            const std::vector<std::uint8_t> texels = readTexture(texture, width, height);
            std::uint8_t lowest = 255, highest = 0;
            for (std::size_t i = 3; i < texels.size(); i += 4) {
                lowest = std::min(lowest, texels[i]);
                highest = std::max(highest, texels[i]);
            }
            EXPECT_LT(lowest, 16);
            EXPECT_GT(highest, 200);
        } else if (use == Use::GreyScale) {
            ++greyScale;
            EXPECT_TRUE(format == GL_DEPTH_COMPONENT || format == GL_DEPTH_COMPONENT16 ||
                        format == GL_DEPTH_COMPONENT24 || format == GL_DEPTH_COMPONENT32 ||
                        format == GL_DEPTH_COMPONENT32F) << std::hex << format;
            EXPECT_EQ(fileBitsPerPixel(name), 8u);
            const std::vector<float> heights = readTexture<float>(texture, width, height);
            const auto [lowest, highest] = std::minmax_element(heights.begin(), heights.end());
            EXPECT_GT(*highest - *lowest, 0.25f) << "a flat relief";
        } else {
            EXPECT_TRUE(format == GL_RGB || format == GL_RGB8) << std::hex << format;
            EXPECT_EQ(fileBitsPerPixel(name), 24u);
        }
    }
    EXPECT_EQ(blended, 5) << "a blended picture is missing";
    EXPECT_EQ(greyScale, 3) << "a height map is missing";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
