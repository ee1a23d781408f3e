// The generated pictures, loaded through the program's texture manager with
// the alpha setting each user passes: every one must come out in the format
// it is drawn with, and look like what it is meant to be.
#include "ContentModelSupport.h"
#include "assets/TestImages.h"
#include "assets/TextureManager.h"
#include "support/GLTestContext.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* generatedTextures = BRIMBOLT_SOURCE_DIR "/brimbolt/textures/";
constexpr const char* programTextures = "../brimbolt/textures/";

// Points the texture manager at the generated pictures while it lives.
// Declare it after GL_TEST_SETUP so its textures go while the context exists.
class GeneratedPictures {
public:
    GeneratedPictures() { TextureManager::getInstance()->setTextureDirectory(generatedTextures); }
    ~GeneratedPictures()
    {
        TextureManager* manager = TextureManager::getInstance();
        manager->deleteAllTextures();
        manager->setTextureDirectory(programTextures);
    }
    GeneratedPictures(const GeneratedPictures&) = delete;
    GeneratedPictures& operator=(const GeneratedPictures&) = delete;

    // The texture id, 0 when the picture did not load.
    GLuint load(const std::string& name, bool hasAlpha) const
    {
        TextureManager* manager = TextureManager::getInstance();
        return manager->loadTexture(name, hasAlpha) ? manager->textureId(name) : 0;
    }
};

struct Size {
    int width;
    int height;
};

Size sizeOf(GLuint texture)
{
    return {testimages::levelParameter(texture, GL_TEXTURE_WIDTH), testimages::levelParameter(texture, GL_TEXTURE_HEIGHT)};
}

GLint internalFormat(GLuint texture)
{
    return testimages::levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT);
}

bool isRgba(GLint format)
{
    return format == GL_RGBA || format == GL_RGBA8;
}

bool isRgb(GLint format)
{
    return format == GL_RGB || format == GL_RGB8;
}

bool isDepth(GLint format)
{
    return format == GL_DEPTH_COMPONENT || format == GL_DEPTH_COMPONENT16 || format == GL_DEPTH_COMPONENT24 ||
           format == GL_DEPTH_COMPONENT32 || format == GL_DEPTH_COMPONENT32F;
}

// The upload takes the decoded pixels as they are, 32 bits with alpha, 24
// without, 8 for grey, so the file itself must already have that depth.
unsigned fileBitsPerPixel(const std::string& name)
{
    const std::string path = TextureManager::getInstance()->texturePath(name);
    const FREE_IMAGE_FORMAT format = TextureManager::isJpegName(name) ? FIF_JPEG : FIF_PNG;
    FIBITMAP* image = FreeImage_Load(format, path.c_str(), 0);
    if (image == nullptr) {
        return 0;
    }
    const unsigned bits = FreeImage_GetBPP(image);
    FreeImage_Unload(image);
    return bits;
}

// Texture names the room's material libraries give to Assimp.
std::set<std::string> roomTextureNames()
{
    std::set<std::string> names;
    for (const char* library : {"room3_recolored.mtl", "room3_reduced.mtl"}) {
        std::ifstream in(contenttest::modelPath(library));
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string keyword;
            std::string name;
            if (words >> keyword >> name && keyword == "map_Kd") {
                names.insert(name);
            }
        }
    }
    return names;
}

} // namespace

TEST(ContentPictures, PicturesDrawnBlendedLoadWithAnAlphaThatVaries)
{
    GL_TEST_SETUP(context);
    GeneratedPictures pictures;
    for (const char* name : {"smoke", "explosion", "credits", "numbers"}) {
        SCOPED_TRACE(name);
        const GLuint texture = pictures.load(name, true);
        ASSERT_NE(texture, 0u);
        EXPECT_TRUE(isRgba(internalFormat(texture))) << std::hex << internalFormat(texture);
        EXPECT_EQ(fileBitsPerPixel(name), 32u);

        const Size size = sizeOf(texture);
        const std::vector<BYTE> texels = testimages::readRgba(texture, size.width, size.height);
        BYTE lowest = 255;
        BYTE highest = 0;
        BYTE highestOnTheBorder = 0;
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const BYTE alpha = texels[static_cast<std::size_t>((y * size.width + x) * 4 + 3)];
                lowest = std::min(lowest, alpha);
                highest = std::max(highest, alpha);
                if (x == 0 || y == 0 || x == size.width - 1 || y == size.height - 1) {
                    highestOnTheBorder = std::max(highestOnTheBorder, alpha);
                }
            }
        }
        EXPECT_LT(lowest, 16);
        EXPECT_GT(highest, 200);
        if (std::string(name) == "smoke" || std::string(name) == "explosion") {
            // A particle is a square point sprite; its edge must not show.
            EXPECT_LT(highestOnTheBorder, 8);
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ContentPictures, OpaquePicturesLoadAsRgb)
{
    GL_TEST_SETUP(context);
    GeneratedPictures pictures;
    for (const char* name : {"start", "white", "brick09s.jpg"}) {
        SCOPED_TRACE(name);
        const GLuint texture = pictures.load(name, false);
        ASSERT_NE(texture, 0u);
        EXPECT_TRUE(isRgb(internalFormat(texture))) << std::hex << internalFormat(texture);
        EXPECT_EQ(fileBitsPerPixel(name), 24u);
    }
    // Untextured materials multiply by this, so it must be white throughout.
    const GLuint white = pictures.load("white", false);
    const Size size = sizeOf(white);
    const std::vector<BYTE> texels = testimages::readRgba(white, size.width, size.height);
    EXPECT_EQ(std::count(texels.begin(), texels.end(), BYTE{255}), static_cast<std::ptrdiff_t>(texels.size()));
}

TEST(ContentPictures, HeightMapsLoadAsGreyScaleWithRelief)
{
    GL_TEST_SETUP(context);
    GeneratedPictures pictures;
    for (const char* name : {"brick09b.jpg", "rtrTexture_DISP.jpg", "sampledDisplacement.jpg"}) {
        SCOPED_TRACE(name);
        const GLuint texture = pictures.load(name, false);
        ASSERT_NE(texture, 0u);
        EXPECT_TRUE(isDepth(internalFormat(texture))) << std::hex << internalFormat(texture);
        EXPECT_EQ(fileBitsPerPixel(name), 8u);
        const Size size = sizeOf(texture);
        const std::vector<float> heights = testimages::readDepth(texture, size.width, size.height);
        const auto [lowest, highest] = std::minmax_element(heights.begin(), heights.end());
        EXPECT_GT(*highest - *lowest, 0.25f) << "a flat relief";
    }
}

TEST(ContentPictures, NormalMapsLoadAsRgbUnitNormalsFacingOut)
{
    GL_TEST_SETUP(context);
    GeneratedPictures pictures;
    for (const char* name : {"brick09n.jpg", "rtrTexture_NRM.jpg", "sampledNormals.jpg"}) {
        SCOPED_TRACE(name);
        const GLuint texture = pictures.load(name, false);
        ASSERT_NE(texture, 0u);
        EXPECT_TRUE(isRgb(internalFormat(texture))) << std::hex << internalFormat(texture);
        EXPECT_EQ(fileBitsPerPixel(name), 24u);

        const Size size = sizeOf(texture);
        const std::vector<BYTE> texels = testimages::readRgba(texture, size.width, size.height);
        std::size_t wrong = 0;
        std::size_t tilted = 0;
        const std::size_t count = texels.size() / 4;
        for (std::size_t i = 0; i < count; ++i) {
            const glm::vec3 normal = glm::vec3(texels[4 * i], texels[4 * i + 1], texels[4 * i + 2]) / 127.5f - 1.0f;
            // Eight-bit steps and JPEG blur allow some slack in the length.
            wrong += normal.z <= 0.0f || std::abs(glm::length(normal) - 1.0f) > 0.1f ? 1 : 0;
            tilted += normal.z < 0.99f ? 1 : 0;
        }
        EXPECT_LT(wrong, count / 100) << "of " << count << " texels are no outward unit normal";
        EXPECT_GT(tilted, count / 20) << "hardly any relief in the normals";
    }
}

TEST(ContentPictures, EveryRoomTextureTheMaterialsNameLoads)
{
    GL_TEST_SETUP(context);
    GeneratedPictures pictures;
    const std::set<std::string> names = roomTextureNames();
    EXPECT_GE(names.size(), 5u) << "the room's material libraries name hardly any textures";
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(name.rfind("room_", 0), 0u) << "not one of the room's own textures";
        const GLuint texture = pictures.load(name, false);
        ASSERT_NE(texture, 0u);
        EXPECT_TRUE(isRgb(internalFormat(texture))) << std::hex << internalFormat(texture);
        EXPECT_EQ(fileBitsPerPixel(name), 24u);
    }
    // The same through the model import, as the program loads the rooms.
    for (const char* room : {"room3_recolored.obj", "room3_reduced.obj"}) {
        Mesh mesh;
        testing::internal::CaptureStdout();
        const bool loaded = mesh.loadMesh(contenttest::modelPath(room), false);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(loaded) << room;
        EXPECT_EQ(printed.find("Error"), std::string::npos) << room << ": " << printed;
    }
}
