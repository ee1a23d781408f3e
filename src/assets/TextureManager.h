#pragma once

#include "gl/GLObject.h"
#include "scene/RoomLayout.h"

#include <epoxy/gl.h>

#include <map>
#include <memory>
#include <string>

struct FIBITMAP;

// The process-wide texture cache, keyed by the short name the content code
// uses. It also holds the filtering modes that the developer keys switch and
// owns the off-screen target the scene is drawn into before motion blur.
class TextureManager {
public:
    static constexpr int mipmapOff = 1;
    static constexpr int mipmapNearest = 2;
    static constexpr int mipmapLinear = 3;
    static constexpr int samplingNearest = 4;
    static constexpr int samplingLinear = 5;
    // Larger pictures are refused with a console line: nothing in the room
    // needs more, every GL we run on takes this much, and a 16384-pixel
    // square would take seconds and gigabytes on the software renderer.
    static constexpr unsigned largestTextureSide = 8192;

    // Created on first use and kept until the process ends; nothing deletes
    // it at exit because the GL context is gone by then, so whoever ends the
    // context calls releaseGLObjects first.
    static TextureManager* getInstance();
    // Deletes the cached textures and the scene target, so delete the
    // instance only while its GL context is current. The next getInstance
    // makes a fresh one.
    virtual ~TextureManager();
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    struct ImageUnloader {
        void operator()(FIBITMAP* image) const;
    };
    // An image file read and converted to what loadTexture uploads: FreeImage's
    // bottom-up rows with their 4-byte padding, in the layout pixelFormat
    // names. pixels is null when the file could not be read or converted.
    struct DecodedImage {
        std::unique_ptr<FIBITMAP, ImageUnloader> image;
        GLint internalFormat = 0;
        GLenum pixelFormat = 0;
        GLsizei width = 0;
        GLsizei height = 0;
        const unsigned char* pixels = nullptr; // inside image
    };

    // Reads the image file once and caches its texture; true when the name
    // has a texture afterwards. A failed read leaves id 0 and prints nothing.
    bool loadTexture(const std::string& name, bool hasAlpha);
    // loadTexture for callers that have no fallback of their own (the overlay,
    // the particles, the relief maps): a failure prints
    // "Error loading texture '<name>'", as a model's missing texture does.
    bool loadTextureOrReport(const std::string& name, bool hasAlpha);
    // The reading half of loadTexture, without any GL call and without the
    // cache: what the file for name holds, converted for upload.
    DecodedImage decodeTexture(const std::string& name, bool hasAlpha) const;
    bool bindTexture(const std::string& name);
    // The cached id of name; 0 when name has no texture.
    GLuint textureId(const std::string& name) const;
    bool deleteTexture(const std::string& name);
    // Deletes every cached texture but keeps the names, for a reload.
    void deleteAllTextures();
    // Deletes the whole cache, names and all, and the scene target: the last
    // GL work of whoever ends the context, since the instance outlives it.
    void releaseGLObjects();

    // Where loadTexture looks; ends with '/'. Only tests move it.
    void setTextureDirectory(const std::string& directory) { textureDirectory = directory; }
    const std::string& getTextureDirectory() const { return textureDirectory; }
    // The file loadTexture reads for name: ".png" is assumed when it has no '.'.
    std::string texturePath(const std::string& name) const;
    // True only for a last extension of exactly "jpg"; everything else is read as PNG.
    static bool isJpegName(const std::string& name);

    void setMipmapping(int mode);
    void setSampling(int mode);
    int getMipmapMode() const { return mipmapMode; }
    int getSamplingMode() const { return samplingMode; }
    GLenum getMinFilter() const { return minFilter; }
    GLenum getMagFilter() const { return magFilter; }

    // The filters a texture gets for a pair of modes.
    static GLenum minificationFilter(int mipmapMode, int samplingMode);
    static GLenum magnificationFilter(int samplingMode);

    // Makes the window-sized colour and depth target of the lit scene and
    // returns its framebuffer. Its texture is not cached by name, so the
    // filter modes never touch it.
    // scale: of the window's size; a cheaper picture draws the scene smaller.
    GLuint createSceneTarget(float scale = 1.0f);
    int getSceneWidth() const { return sceneWidth; }
    int getSceneHeight() const { return sceneHeight; }
    GLuint getSceneFramebuffer() const { return sceneFramebuffer.id(); }
    GLuint getSceneTexture() const { return sceneTexture.id(); }
    GLuint getSceneDepthBuffer() const { return sceneDepthBuffer.id(); }
    bool sceneTargetExists() const { return sceneFramebuffer.created(); }

private:
    TextureManager() = default;

    int mipmapMode = mipmapLinear;
    int samplingMode = samplingLinear;
    GLenum magFilter = GL_LINEAR;
    int sceneWidth = 0;
    int sceneHeight = 0;
    GLenum minFilter = GL_LINEAR_MIPMAP_LINEAR;
    // A name whose load failed, or whose texture was deleted, keeps an owner
    // that is "not created".
    std::map<std::string, GLTexture> textures;
    std::string textureDirectory = roomLayout::textureFolder;

    GLTexture sceneTexture;
    GLFramebuffer sceneFramebuffer;
    GLRenderbuffer sceneDepthBuffer;

    void applyFilters(bool includeMagnification);
    void deleteSceneTarget();
};
