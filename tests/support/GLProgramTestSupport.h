#pragma once

// GL helpers shared by the tests of the layers that draw: programs from the
// source tree or from sources written on the fly, read-back of uniforms and
// bindings, an off-screen target, textures and vertex arrays made by hand.
// Only for tests of the gl layer and those above it.

#include "gl/GLObject.h"
#include "gl/Shader.h"
#include "gl/ShaderLocation.h"
#include "support/GlmNear.h"
#include "support/ScratchDir.h"

#include <epoxy/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace rendertest {

inline const std::string shaderDirectory = BRIMBOLT_SOURCE_DIR "/brimbolt/Shaders/";

// The vertex inputs at the locations every geometry program shares, so that a
// mesh's vertex array fits a test program that starts with them.
inline const std::string meshInputs = R"(#version 330 core
layout(location = 0) in vec4 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec3 in_color;
layout(location = 3) in vec2 in_texCoords;
)";

// A program from the source tree with its colour output bound, as the application builds it.
inline std::unique_ptr<Shader> loadProgram(const std::string& base, const std::string& output = "out_color")
{
    auto program = std::make_unique<Shader>(shaderDirectory + base);
    bindFragmentOutput(*program, output);
    return program;
}

// Writes the stages given (an empty source writes no file) and returns the base path.
inline std::string writeSources(const ScratchDir& folder, const std::string& name, const std::string& vertex,
                                const std::string& fragment, const std::string& geometry = "")
{
    const std::array<std::pair<const char*, const std::string*>, 3> stages{
        {{".vert", &vertex}, {".frag", &fragment}, {".geom", &geometry}}};
    for (const auto& [extension, source] : stages) {
        if (!source->empty()) {
            folder.write(name + extension, *source);
        }
    }
    return (folder.path() / name).string();
}

using testsupport::near;

template <typename T>
T readUniform(Shader& program, ShaderLocation key)
{
    T value(0.0f);
    EXPECT_GE(program.location(key), 0) << "the test program lost a uniform";
    glGetUniformfv(program.program(), program.location(key), glm::value_ptr(value));
    return value;
}

inline GLint readInt(Shader& program, ShaderLocation key)
{
    GLint value = -1;
    EXPECT_GE(program.location(key), 0) << "the test program lost a uniform";
    glGetUniformiv(program.program(), program.location(key), &value);
    return value;
}

inline GLint integerState(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// What is bound to target on a texture unit; the active unit is left as it was.
inline GLint boundTexture(GLenum unit, GLenum target = GL_TEXTURE_BINDING_2D)
{
    const GLint active = integerState(GL_ACTIVE_TEXTURE);
    glActiveTexture(unit);
    const GLint id = integerState(target);
    glActiveTexture(static_cast<GLenum>(active));
    return id;
}

inline void bindTexture(GLenum unit, GLenum target, GLuint texture)
{
    glActiveTexture(unit);
    glBindTexture(target, texture);
    glActiveTexture(GL_TEXTURE0);
}

// Level 0 of a 2D texture, bottom row first: RGBA bytes, or depth in [0, 1].
template <typename Texel = std::uint8_t>
std::vector<Texel> readTexture(GLuint texture, int width, int height)
{
    constexpr bool depth = std::is_floating_point_v<Texel>;
    std::vector<Texel> texels(static_cast<std::size_t>(width * height * (depth ? 1 : 4)));
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, depth ? GL_DEPTH_COMPONENT : GL_RGBA, depth ? GL_FLOAT : GL_UNSIGNED_BYTE,
                  texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texels;
}

// A parameter of a 2D texture (level < 0) or of one of its levels.
inline GLint textureParameter(GLuint texture, GLenum parameter, GLint level = -1)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    if (level < 0) {
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    } else {
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

using Pixel = std::array<std::uint8_t, 4>;

// An off-screen colour texture with a depth buffer.
class RenderTarget {
public:
    RenderTarget(int width, int height, GLenum colorFormat = GL_RGBA8) : width(width), height(height)
    {
        attach(color, GL_COLOR_ATTACHMENT0, static_cast<GLint>(colorFormat), GL_RGBA, GL_UNSIGNED_BYTE);
        attach(depth, GL_DEPTH_ATTACHMENT, GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
        status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    bool complete() const { return status == GL_FRAMEBUFFER_COMPLETE; }

    // Binds it, sets the viewport and clears colour and depth.
    void begin(const glm::vec4& clearColor = glm::vec4(0.0f)) const
    {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
        glViewport(0, 0, width, height);
        glClearColor(clearColor.r, clearColor.g, clearColor.b, clearColor.a);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // The stored bytes, rows from the bottom, read with sRGB writes switched
    // off, so an sRGB target returns its encoded values. Leaves the target bound.
    std::vector<Pixel> read() const
    {
        const GLboolean srgb = glIsEnabled(GL_FRAMEBUFFER_SRGB);
        glDisable(GL_FRAMEBUFFER_SRGB);
        std::vector<Pixel> pixels(static_cast<std::size_t>(width * height));
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        if (srgb) {
            glEnable(GL_FRAMEBUFFER_SRGB);
        }
        return pixels;
    }

    Pixel at(const std::vector<Pixel>& pixels, int column, int row) const
    {
        return pixels[static_cast<std::size_t>(row * width + column)];
    }

    const int width;
    const int height;

private:
    void attach(const GLTexture& texture, GLenum attachment, GLint format, GLenum transfer, GLenum type) const
    {
        glBindTexture(GL_TEXTURE_2D, texture.id());
        glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, transfer, type, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
        glFramebufferTexture2D(GL_FRAMEBUFFER, attachment, GL_TEXTURE_2D, texture.id(), 0);
    }

    GLFramebuffer framebuffer = GLFramebuffer::create();
    GLTexture color = GLTexture::create();
    GLTexture depth = GLTexture::create();
    GLenum status = 0;
};

// A 2D texture from RGBA bytes (rows from the bottom), without mipmaps.
inline GLTexture makeTexture(int width, int height, const std::vector<Pixel>& texels, GLint filter = GL_NEAREST)
{
    GLTexture texture = GLTexture::create();
    glBindTexture(GL_TEXTURE_2D, texture.id());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

struct Vertex {
    glm::vec4 position;
    glm::vec3 normal{0.0f, 1.0f, 0.0f};
    glm::vec3 color{1.0f};
    glm::vec2 texCoords{0.0f};
    glm::vec3 tangent{1.0f, 0.0f, 0.0f};
    glm::vec3 bitangent{0.0f, 0.0f, -1.0f};
};

// Triangles in one buffer, every attribute at its shared location (0 to 5).
class VertexArray {
public:
    explicit VertexArray(const std::vector<Vertex>& vertices) : count(static_cast<GLsizei>(vertices.size()))
    {
        glBindVertexArray(vertexArray.id());
        glBindBuffer(GL_ARRAY_BUFFER, buffer.id());
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)), vertices.data(),
                     GL_STATIC_DRAW);
        const std::array<std::pair<GLint, std::size_t>, 6> layout{
            {{4, offsetof(Vertex, position)}, {3, offsetof(Vertex, normal)}, {3, offsetof(Vertex, color)},
             {2, offsetof(Vertex, texCoords)}, {3, offsetof(Vertex, tangent)}, {3, offsetof(Vertex, bitangent)}}};
        for (GLuint location = 0; location < layout.size(); ++location) {
            glVertexAttribPointer(location, layout[location].first, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                                  reinterpret_cast<const void*>(layout[location].second));
            glEnableVertexAttribArray(location);
        }
        glBindVertexArray(0);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }

    void draw() const
    {
        glBindVertexArray(vertexArray.id());
        glDrawArrays(GL_TRIANGLES, 0, count);
        glBindVertexArray(0);
    }

private:
    GLVertexArray vertexArray = GLVertexArray::create();
    GLBuffer buffer = GLBuffer::create();
    GLsizei count;
};

} // namespace rendertest
