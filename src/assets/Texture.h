#pragma once

#include <epoxy/gl.h>

#include <string>

// A light handle naming a texture in the TextureManager's cache. The cache
// owns the GL texture, so copying or destroying a handle deletes nothing in GL.
class Texture {
public:
    explicit Texture(std::string name);
    virtual ~Texture();

    // Binds the cached texture to the active unit; while the name has no
    // texture the previous binding is left as it was.
    void bind() const;

    std::string name;
    static constexpr GLenum target = GL_TEXTURE_2D;
};
