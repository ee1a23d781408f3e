#include "assets/TextureManager.h"

#include "settings/Settings.h"

#include <FreeImage.h>

#include <memory>

// Debian's shared FreeImage runs FreeImage_Initialise from its own library
// constructor, so the PNG and JPEG readers are ready without a call here.

namespace {
// Never destroyed at exit: by then the GL context is gone, and the application's
// teardown has already released the cache and the scene target while it existed.
TextureManager* instance = nullptr;

struct ImageUnloader {
    void operator()(FIBITMAP* image) const { FreeImage_Unload(image); }
};
using Image = std::unique_ptr<FIBITMAP, ImageUnloader>;

// How the pixels go to GL, and the layout the image memory must have for it.
struct UploadFormat {
    GLint internalFormat;
    GLenum pixelFormat;
    unsigned bitsPerPixel;
};

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

bool TextureManager::loadTexture(const std::string& name, bool hasAlpha)
{
    GLTexture& texture = textures[name];
    if (texture.created()) {
        return true;
    }

    FREE_IMAGE_FORMAT format = isJpegName(name) ? FIF_JPEG : FIF_PNG;
    Image image(FreeImage_Load(format, texturePath(name).c_str(), 0));
    if (!image || FreeImage_GetWidth(image.get()) == 0 || FreeImage_GetHeight(image.get()) == 0) {
        return false;
    }

    UploadFormat upload = chooseUpload(image.get(), hasAlpha);
    if (!matchesUpload(image.get(), upload)) {
        image = convertForUpload(image.get(), upload);
        if (!image) {
            return false;
        }
    }
    const BYTE* pixels = FreeImage_GetBits(image.get());
    if (!pixels) {
        return false;
    }

    texture = GLTexture::create();
    glBindTexture(GL_TEXTURE_2D, texture.id());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
    // Straight from FreeImage's memory: its bottom-up rows match GL's
    // bottom-left origin, and its 4-byte row padding matches the default
    // GL_UNPACK_ALIGNMENT, so nothing is copied or flipped.
    glTexImage2D(GL_TEXTURE_2D, 0, upload.internalFormat, static_cast<GLsizei>(FreeImage_GetWidth(image.get())),
                 static_cast<GLsizei>(FreeImage_GetHeight(image.get())), 0, upload.pixelFormat, GL_UNSIGNED_BYTE,
                 pixels);
    // Built whatever the mipmapping mode, so the developer key can switch
    // mipmapping on later without reloading.
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    return true;
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

GLuint TextureManager::createSceneTarget()
{
    // A second call replaces the target instead of leaking the first.
    deleteSceneTarget();

    sceneFramebuffer = GLFramebuffer::create();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, sceneFramebuffer.id());

    sceneTexture = GLTexture::create();
    glBindTexture(GL_TEXTURE_2D, sceneTexture.id());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, windowWidth, windowHeight, 0, GL_RGB, GL_FLOAT, nullptr);
    // Clamped because the motion-blur pass samples along streaks that run
    // past the edges; repeat would pull in the opposite side of the image.
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_CLAMP_TO_EDGE));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_CLAMP_TO_EDGE));

    sceneDepthBuffer = GLRenderbuffer::create();
    glBindRenderbuffer(GL_RENDERBUFFER, sceneDepthBuffer.id());
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, windowWidth, windowHeight);
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
