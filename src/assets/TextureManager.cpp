#include "assets/TextureManager.h"

#include "settings/Settings.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

// Debian's shared FreeImage runs FreeImage_Initialise from its own library
// constructor, so the PNG and JPEG readers are ready without a call here.

namespace {
// Never destroyed at exit: by then the GL context is gone, and the application's
// teardown has already released the cache and the scene target while it existed.
TextureManager* instance = nullptr;

using Image = std::unique_ptr<FIBITMAP, TextureManager::ImageUnloader>;

// How the pixels go to GL, and the layout the image memory must have for it.
struct UploadFormat {
    GLint internalFormat;
    GLenum pixelFormat;
    unsigned bitsPerPixel;
};

// The first thing the image decoder said during one load.
std::string decoderWarning;

void keepDecoderWarning(FREE_IMAGE_FORMAT, const char* message)
{
    if (decoderWarning.empty() && message) {
        decoderWarning = message;
    }
}

// libpng reads an ancillary chunk into one buffer of the length the chunk
// claims before it finds that the file ends far sooner, so a PNG of a few
// hundred bytes can ask for gigabytes. No chunk but image data (read in
// pieces, and the one a cut file cuts short) may claim more than the file has
// left. Empty for a file that keeps to that, or that is no PNG at all.
std::string oversizedPngChunk(const std::string& path)
{
    constexpr std::uint64_t signatureSize = 8;
    constexpr std::uint64_t chunkFrame = 12; // length, type and CRC around the data
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const std::streamoff end = file.tellg();
    if (!file || end < 0) {
        return {};
    }
    const auto size = static_cast<std::uint64_t>(end);
    unsigned char header[8];
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(header), signatureSize) ||
        std::string(reinterpret_cast<char*>(header), signatureSize) != "\x89PNG\r\n\x1a\n") {
        return {};
    }
    for (std::uint64_t at = signatureSize; at + chunkFrame <= size;) {
        file.seekg(static_cast<std::streamoff>(at));
        if (!file.read(reinterpret_cast<char*>(header), sizeof header)) {
            break;
        }
        const std::uint64_t length = std::uint64_t{header[0]} << 24 | std::uint64_t{header[1]} << 16 |
                                     std::uint64_t{header[2]} << 8 | header[3];
        const std::string type(reinterpret_cast<char*>(header) + 4, 4);
        if (type != "IDAT" && length > size - at - chunkFrame) {
            return "chunk " + type + " claims " + std::to_string(length) + " bytes, more than the file holds";
        }
        at += chunkFrame + length;
    }
    return {};
}

// The frame size a JPEG declares, read from its first start-of-frame marker
// the way libjpeg under FreeImage finds it: bytes between segments are
// skipped, and so is a marker libjpeg does not know (FreeImage lets that
// error pass and libjpeg then looks for the next marker right after it).
// False for a file that is no JPEG or that the decoder gives up on before
// a frame.
bool jpegFrameSize(const std::string& path, unsigned& width, unsigned& height)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto byteAt = [&bytes](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
    if (bytes.size() < 2 || byteAt(0) != 0xFF || byteAt(1) != 0xD8) {
        return false;
    }
    for (std::size_t at = 2;;) {
        while (at < bytes.size() && byteAt(at) != 0xFF) {
            ++at;
        }
        while (at < bytes.size() && byteAt(at) == 0xFF) {
            ++at;
        }
        if (at + 2 >= bytes.size()) {
            return false;
        }
        const unsigned marker = byteAt(at);
        const bool isFrame = marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA;
        const bool isOtherFrame = marker >= 0xC3 && marker <= 0xCF && marker != 0xC4 && marker != 0xCC && !isFrame;
        const bool hasLength = marker == 0xC4 || marker == 0xCC || marker == 0xDB || marker == 0xDC ||
                               marker == 0xDD || marker == 0xFE || (marker >= 0xE0 && marker <= 0xEF);
        if (isFrame) {
            if (at + 7 >= bytes.size()) {
                return false;
            }
            height = unsigned{byteAt(at + 4)} << 8 | byteAt(at + 5);
            width = unsigned{byteAt(at + 6)} << 8 | byteAt(at + 7);
            return true;
        }
        if (isOtherFrame || marker == 0xD9 || marker == 0xDA) {
            return false;
        }
        // A stuffed zero, a restart or unknown marker: no length follows.
        at += hasLength ? 1 + (std::size_t{byteAt(at + 1)} << 8 | byteAt(at + 2)) : 1;
    }
}

bool isGreyScale(FIBITMAP* image)
{
    FREE_IMAGE_COLOR_TYPE colorType = FreeImage_GetColorType(image);
    return colorType == FIC_MINISWHITE || colorType == FIC_MINISBLACK;
}

UploadFormat chooseUpload(FIBITMAP* image, bool hasAlpha)
{
    if (hasAlpha) {
        return {GL_RGBA, GL_BGRA, 32};
    }
    if (isGreyScale(image)) {
        return {GL_DEPTH_COMPONENT, GL_DEPTH_COMPONENT, 8};
    }
    return {GL_RGB, GL_BGR, 24};
}

bool matchesUpload(FIBITMAP* image, const UploadFormat& upload)
{
    if (FreeImage_GetImageType(image) != FIT_BITMAP || FreeImage_GetBPP(image) != upload.bitsPerPixel) {
        return false;
    }
    // An inverted grey palette would reach GL as a negative.
    return upload.bitsPerPixel != 8 || FreeImage_GetColorType(image) == FIC_MINISBLACK;
}

FIBITMAP* convertTo(FIBITMAP* image, unsigned bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 32:
        return FreeImage_ConvertTo32Bits(image);
    case 24:
        return FreeImage_ConvertTo24Bits(image);
    default:
        return FreeImage_ConvertToGreyscale(image);
    }
}

// Palette, 16-bit and 48-bit images, or a pixel size that disagrees with
// hasAlpha, are converted once at load rather than uploaded as garbage.
// Returns an empty image when FreeImage has no conversion for the layout.
Image convertForUpload(FIBITMAP* image, const UploadFormat& upload)
{
    Image converted(convertTo(image, upload.bitsPerPixel));
    if (!converted) {
        // 16-bit grey and float pixels reach 24 or 32 bits only by way of 8-bit grey.
        Image standard(FreeImage_ConvertToStandardType(image, TRUE));
        if (standard) {
            converted.reset(convertTo(standard.get(), upload.bitsPerPixel));
        }
    }
    if (converted && !matchesUpload(converted.get(), upload)) {
        converted.reset();
    }
    return converted;
}
} // namespace

TextureManager* TextureManager::getInstance()
{
    if (!instance) {
        instance = new TextureManager();
    }
    return instance;
}

TextureManager::~TextureManager()
{
    if (instance == this) {
        instance = nullptr;
    }
}

std::string TextureManager::texturePath(const std::string& name) const
{
    std::string path = textureDirectory + name;
    if (name.find('.') == std::string::npos) {
        path += ".png";
    }
    return path;
}

bool TextureManager::isJpegName(const std::string& name)
{
    std::string::size_type dot = name.rfind('.');
    if (dot == std::string::npos) {
        return false;
    }
    // Case-sensitive and cut to three letters: "JPG" and "jpeg" are read as PNG.
    return name.substr(dot + 1, 3) == "jpg";
}

void TextureManager::ImageUnloader::operator()(FIBITMAP* image) const
{
    FreeImage_Unload(image);
}

bool TextureManager::loadTexture(const std::string& name, bool hasAlpha)
{
    GLTexture& texture = textures[name];
    if (texture.created()) {
        return true;
    }

    const DecodedImage decoded = decodeTexture(name, hasAlpha);
    if (!decoded.pixels) {
        return false;
    }

    texture = GLTexture::create();
    glBindTexture(GL_TEXTURE_2D, texture.id());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
    // Straight from FreeImage's memory: its bottom-up rows match GL's
    // bottom-left origin, and its 4-byte row padding matches the default
    // GL_UNPACK_ALIGNMENT, so nothing is copied or flipped.
    glTexImage2D(GL_TEXTURE_2D, 0, decoded.internalFormat, decoded.width, decoded.height, 0, decoded.pixelFormat,
                 GL_UNSIGNED_BYTE, decoded.pixels);
    // Built whatever the mipmapping mode, so the developer key can switch
    // mipmapping on later without reloading.
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    return true;
}

bool TextureManager::loadTextureOrReport(const std::string& name, bool hasAlpha)
{
    if (loadTexture(name, hasAlpha)) {
        return true;
    }
    std::printf("Error loading texture '%s'\n", name.c_str());
    return false;
}

TextureManager::DecodedImage TextureManager::decodeTexture(const std::string& name, bool hasAlpha) const
{
    FREE_IMAGE_FORMAT format = isJpegName(name) ? FIF_JPEG : FIF_PNG;
    const std::string path = texturePath(name);
    if (format == FIF_PNG) {
        if (const std::string chunk = oversizedPngChunk(path); !chunk.empty()) {
            std::printf("Texture file '%s': %s; not loaded.\n", path.c_str(), chunk.c_str());
            return {};
        }
    }
    const auto refuseSize = [&path](unsigned width, unsigned height) {
        std::printf("Texture file '%s' is %u x %u pixels, more than the %u a side a texture may have; not loaded.\n",
                    path.c_str(), width, height, largestTextureSide);
    };
    // FreeImage's header-only read of a progressive JPEG still starts the
    // decoder, which claims and clears memory for every pixel of the frame,
    // so a JPEG's size is read from its frame marker first.
    unsigned frameWidth = 0;
    unsigned frameHeight = 0;
    if (format == FIF_JPEG && jpegFrameSize(path, frameWidth, frameHeight) &&
        (frameWidth > largestTextureSide || frameHeight > largestTextureSide)) {
        refuseSize(frameWidth, frameHeight);
        return {};
    }
    // The header alone tells the size, before a huge picture costs seconds
    // and gigabytes to decode.
    const Image header(FreeImage_Load(format, path.c_str(), FIF_LOAD_NOPIXELS));
    if (header && (FreeImage_GetWidth(header.get()) > largestTextureSide ||
                   FreeImage_GetHeight(header.get()) > largestTextureSide)) {
        refuseSize(FreeImage_GetWidth(header.get()), FreeImage_GetHeight(header.get()));
        return {};
    }

    decoderWarning.clear();
    FreeImage_SetOutputMessage(keepDecoderWarning);
    Image image(FreeImage_Load(format, path.c_str(), 0));
    FreeImage_SetOutputMessage(nullptr);
    if (!image || FreeImage_GetWidth(image.get()) == 0 || FreeImage_GetHeight(image.get()) == 0) {
        return {};
    }
    // A decoder that read on past damage (a JPEG cut short comes out grey
    // below the cut) has said why; the picture is used as it came out.
    if (!decoderWarning.empty()) {
        std::printf("Texture file '%s': %s; drawn as read.\n", path.c_str(), decoderWarning.c_str());
    }

    UploadFormat upload = chooseUpload(image.get(), hasAlpha);
    if (!matchesUpload(image.get(), upload)) {
        image = convertForUpload(image.get(), upload);
        if (!image) {
            return {};
        }
    }
    const BYTE* pixels = FreeImage_GetBits(image.get());
    if (!pixels) {
        return {};
    }

    DecodedImage decoded;
    decoded.internalFormat = upload.internalFormat;
    decoded.pixelFormat = upload.pixelFormat;
    decoded.width = static_cast<GLsizei>(FreeImage_GetWidth(image.get()));
    decoded.height = static_cast<GLsizei>(FreeImage_GetHeight(image.get()));
    decoded.pixels = pixels;
    decoded.image = std::move(image);
    return decoded;
}

bool TextureManager::bindTexture(const std::string& name)
{
    GLuint id = textureId(name);
    if (id == 0) {
        return false;
    }
    glBindTexture(GL_TEXTURE_2D, id);
    return true;
}

GLuint TextureManager::textureId(const std::string& name) const
{
    const auto found = textures.find(name);
    return found == textures.end() ? 0 : found->second.id();
}

bool TextureManager::deleteTexture(const std::string& name)
{
    const auto found = textures.find(name);
    if (found == textures.end() || !found->second.created()) {
        return false;
    }
    found->second.reset();
    return true;
}

void TextureManager::deleteAllTextures()
{
    for (auto& [name, texture] : textures) {
        texture.reset();
    }
}

void TextureManager::releaseGLObjects()
{
    textures.clear();
    deleteSceneTarget();
}

GLenum TextureManager::minificationFilter(int mipmap, int sampling)
{
    bool nearest = sampling == samplingNearest;
    switch (mipmap) {
    case mipmapOff:
        return nearest ? GL_NEAREST : GL_LINEAR;
    case mipmapNearest:
        return nearest ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_NEAREST;
    default:
        return nearest ? GL_NEAREST_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_LINEAR;
    }
}

GLenum TextureManager::magnificationFilter(int sampling)
{
    return sampling == samplingNearest ? GL_NEAREST : GL_LINEAR;
}

void TextureManager::setMipmapping(int mode)
{
    minFilter = minificationFilter(mode, samplingMode);
    applyFilters(false);
    mipmapMode = mode;
}

void TextureManager::setSampling(int mode)
{
    minFilter = minificationFilter(mipmapMode, mode);
    magFilter = magnificationFilter(mode);
    applyFilters(true);
    samplingMode = mode;
}

// Mipmaps exist from the load, so a mode change only swaps filter parameters.
void TextureManager::applyFilters(bool includeMagnification)
{
    bool touched = false;
    for (const auto& [name, texture] : textures) {
        if (!texture.created()) {
            continue;
        }
        glBindTexture(GL_TEXTURE_2D, texture.id());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
        if (includeMagnification) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
        }
        touched = true;
    }
    // Only when a texture was bound: with an empty cache the modes can
    // change before any GL context exists.
    if (touched) {
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

GLuint TextureManager::createSceneTarget(float scale)
{
    // A second call replaces the target instead of leaking the first.
    deleteSceneTarget();
    sceneWidth = std::max(1, static_cast<int>(std::lround(static_cast<float>(windowWidth) * scale)));
    sceneHeight = std::max(1, static_cast<int>(std::lround(static_cast<float>(windowHeight) * scale)));

    sceneFramebuffer = GLFramebuffer::create();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, sceneFramebuffer.id());

    sceneTexture = GLTexture::create();
    glBindTexture(GL_TEXTURE_2D, sceneTexture.id());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, sceneWidth, sceneHeight, 0, GL_RGB, GL_FLOAT, nullptr);
    // Clamped because the motion-blur pass samples along streaks that run
    // past the edges; repeat would pull in the opposite side of the image.
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_CLAMP_TO_EDGE));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_CLAMP_TO_EDGE));

    sceneDepthBuffer = GLRenderbuffer::create();
    glBindRenderbuffer(GL_RENDERBUFFER, sceneDepthBuffer.id());
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, sceneWidth, sceneHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, sceneDepthBuffer.id());

    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, sceneTexture.id(), 0);

    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return sceneFramebuffer.id();
}

void TextureManager::deleteSceneTarget()
{
    sceneTexture.reset();
    sceneDepthBuffer.reset();
    sceneFramebuffer.reset();
}
