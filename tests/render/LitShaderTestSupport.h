#pragma once

// Helpers for the tests of the lit, relief, motion-blur and particle
// programs: the real shader files from the source tree, small vertex arrays
// at the shared attribute locations, off-screen targets, and the uniforms the
// frame loads, set the way the frame sets them.

#include "render/Light.h"
#include "render/Shader.h"
#include "render/ShaderLocation.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace litshader {

inline const std::string shaderDirectory = BRIMBOLT_SOURCE_DIR "/brimbolt/Shaders/";

// The shared attribute numbering of every program that draws geometry.
inline constexpr GLuint positionLocation = 0;
inline constexpr GLuint normalLocation = 1;
inline constexpr GLuint colorLocation = 2;
inline constexpr GLuint texCoordsLocation = 3;
inline constexpr GLuint tangentLocation = 4;
inline constexpr GLuint bitangentLocation = 5;

// A program from the source tree with its colour output bound, as the
// application builds its registry.
inline std::unique_ptr<Shader> loadProgram(const std::string& base, const std::string& output = "out_color")
{
    auto program = std::make_unique<Shader>(shaderDirectory + base);
    bindFragmentOutput(*program, output);
    return program;
}

// The exact sRGB curves, as the GL applies them to sRGB framebuffers.
inline float srgbToLinear(float encoded)
{
    return encoded <= 0.04045f ? encoded / 12.92f : std::pow((encoded + 0.055f) / 1.055f, 2.4f);
}

inline float linearToSrgb(float linear)
{
    linear = std::clamp(linear, 0.0f, 1.0f);
    return linear <= 0.0031308f ? linear * 12.92f : 1.055f * std::pow(linear, 1.0f / 2.4f) - 0.055f;
}

inline int toByte(float value)
{
    return static_cast<int>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

struct Vertex {
    glm::vec4 position;
    glm::vec3 normal{0.0f, 1.0f, 0.0f};
    glm::vec3 color{1.0f};
    glm::vec2 texCoords{0.0f};
    glm::vec3 tangent{1.0f, 0.0f, 0.0f};
    glm::vec3 bitangent{0.0f, 0.0f, -1.0f};
};

// Triangles in one buffer, every attribute at its shared location.
class VertexArray {
public:
    explicit VertexArray(const std::vector<Vertex>& vertices)
        : vertexArray(GLVertexArray::create()), buffer(GLBuffer::create()),
          count(static_cast<GLsizei>(vertices.size()))
    {
        glBindVertexArray(vertexArray.id());
        glBindBuffer(GL_ARRAY_BUFFER, buffer.id());
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)), vertices.data(),
                     GL_STATIC_DRAW);
        attribute(positionLocation, 4, offsetof(Vertex, position));
        attribute(normalLocation, 3, offsetof(Vertex, normal));
        attribute(colorLocation, 3, offsetof(Vertex, color));
        attribute(texCoordsLocation, 2, offsetof(Vertex, texCoords));
        attribute(tangentLocation, 3, offsetof(Vertex, tangent));
        attribute(bitangentLocation, 3, offsetof(Vertex, bitangent));
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
    static void attribute(GLuint location, GLint size, std::size_t offset)
    {
        glVertexAttribPointer(location, size, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                              reinterpret_cast<const void*>(offset));
        glEnableVertexAttribArray(location);
    }

    GLVertexArray vertexArray;
    GLBuffer buffer;
    GLsizei count;
};

// A horizontal square at the given height, facing up. u runs along +x (the
// tangent) and v along -z (the bitangent), each from 0 to 1 across it.
inline std::vector<Vertex> horizontalSquare(float halfSize, float height, const glm::vec3& color = glm::vec3(1.0f))
{
    auto corner = [&](float x, float z) {
        Vertex vertex;
        vertex.position = glm::vec4(x, height, z, 1.0f);
        vertex.color = color;
        vertex.texCoords = glm::vec2((x + halfSize) / (2.0f * halfSize), (halfSize - z) / (2.0f * halfSize));
        return vertex;
    };
    const Vertex a = corner(-halfSize, halfSize), b = corner(halfSize, halfSize);
    const Vertex c = corner(halfSize, -halfSize), d = corner(-halfSize, -halfSize);
    return {a, b, c, a, c, d};
}

// Two triangles over the whole of clip space (for an identity mvp).
inline std::vector<Vertex> screenQuad()
{
    auto corner = [](float x, float y) {
        Vertex vertex;
        vertex.position = glm::vec4(x, y, 0.0f, 1.0f);
        return vertex;
    };
    return {corner(-1, -1), corner(1, -1), corner(1, 1), corner(-1, -1), corner(1, 1), corner(-1, 1)};
}

using Pixel = std::array<std::uint8_t, 4>;

// An off-screen colour texture with a depth buffer.
class RenderTarget {
public:
    RenderTarget(int width, int height, GLenum colorFormat = GL_RGBA8)
        : width(width), height(height), framebuffer(GLFramebuffer::create()), color(GLTexture::create()),
          depth(GLTexture::create())
    {
        glBindTexture(GL_TEXTURE_2D, color.id());
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(colorFormat), width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, depth.id());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, width, height, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT,
                     nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color.id(), 0);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depth.id(), 0);
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

    // The stored bytes, rows from the bottom. sRGB conversion on write is
    // switched off for the read, so an sRGB target returns its encoded values.
    std::vector<Pixel> read() const
    {
        const GLboolean srgb = glIsEnabled(GL_FRAMEBUFFER_SRGB);
        glDisable(GL_FRAMEBUFFER_SRGB);
        std::vector<Pixel> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        if (srgb) {
            glEnable(GL_FRAMEBUFFER_SRGB);
        }
        return pixels;
    }

    GLuint texture() const { return color.id(); }

    const int width;
    const int height;

private:
    GLFramebuffer framebuffer;
    GLTexture color;
    GLTexture depth;
    GLenum status = 0;
};

inline const Pixel& pixelAt(const std::vector<Pixel>& pixels, int width, int column, int row)
{
    return pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(column)];
}

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

inline GLTexture makeSolidTexture(const Pixel& texel)
{
    return makeTexture(1, 1, {texel});
}

// A grey-scale map stored the way the texture manager stores grey images:
// GL_DEPTH_COMPONENT, one byte a texel.
inline GLTexture makeGreyTexture(int width, int height, const std::vector<std::uint8_t>& texels)
{
    GLTexture texture = GLTexture::create();
    glBindTexture(GL_TEXTURE_2D, texture.id());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, width, height, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE,
                 texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

// A shadow map whose only caster lies at the far end of the depth range:
// every receiver in front of it is fully lit.
inline GLTexture makeUnshadowedMoments()
{
    GLTexture texture = GLTexture::create();
    const std::array<float, 4> moments = {1.0f, 1.0f, 0.0f, 0.0f};
    glBindTexture(GL_TEXTURE_2D, texture.id());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, moments.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

inline void bindTexture(GLenum unit, GLenum target, GLuint texture)
{
    glActiveTexture(unit);
    glBindTexture(target, texture);
    glActiveTexture(GL_TEXTURE0);
}

struct SpotLight {
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f, -1.0f, 0.0f};
    glm::vec3 color{0.0f}; // black: switched off
    glm::vec3 attenuation{1.0f, 0.0f, 0.0f};
    float cosCutoff = -1.0f;
    float exponent = 0.0f;
};

// What the frame's light set-up loads into a lit program: one light per
// matrix column, the moments textures on units 1 to 3.
inline void setLights(Shader& program, const std::array<SpotLight, 3>& lights,
                      const std::array<GLuint, 3>& momentsTextures)
{
    glUseProgram(program.program());
    for (int i = 2; i >= 0; --i) {
        bindTexture(GL_TEXTURE1 + static_cast<GLenum>(i), GL_TEXTURE_2D, momentsTextures[static_cast<std::size_t>(i)]);
    }
    glUniform1i(program.location(ShaderLocation::varianceShadowMap1), 1);
    glUniform1i(program.location(ShaderLocation::varianceShadowMap2), 2);
    glUniform1i(program.location(ShaderLocation::varianceShadowMap3), 3);
    glm::mat3 color, attenuation, direction, position;
    std::array<float, 3> cutoff{}, exponent{};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto column = static_cast<glm::length_t>(i);
        color[column] = lights[i].color;
        attenuation[column] = lights[i].attenuation;
        direction[column] = glm::normalize(lights[i].direction);
        position[column] = lights[i].position;
        cutoff[i] = lights[i].cosCutoff;
        exponent[i] = lights[i].exponent;
    }
    glUniformMatrix3fv(program.location(ShaderLocation::lightColor), 1, GL_FALSE, glm::value_ptr(color));
    glUniformMatrix3fv(program.location(ShaderLocation::attenuation), 1, GL_FALSE, glm::value_ptr(attenuation));
    glUniformMatrix3fv(program.location(ShaderLocation::spotDirection), 1, GL_FALSE, glm::value_ptr(direction));
    glUniformMatrix3fv(program.location(ShaderLocation::lightPosition), 1, GL_FALSE, glm::value_ptr(position));
    glUniform1fv(program.location(ShaderLocation::spotCosCutoff), 3, cutoff.data());
    glUniform1fv(program.location(ShaderLocation::spotExponent), 3, exponent.data());
}

struct Material {
    float ambient = 0.0f;
    float diffuse = 0.0f;
    float specular = 0.0f;
    float shininess = 50.0f;
};

// A camera straight above the origin looking down -y, with an orthographic
// view of the square [-10, 10] x [-10, 10]: screen right is +x, screen up -z.
struct TopView {
    glm::vec3 eye{0.0f, 20.0f, 0.0f};
    glm::mat4 viewProjection = glm::ortho(-10.0f, 10.0f, -10.0f, 10.0f, 1.0f, 50.0f) *
                               glm::lookAt(glm::vec3(0.0f, 20.0f, 0.0f), glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));

    // World x and z of a pixel's centre in a square target of the given size.
    static glm::vec2 worldAt(int column, int row, int size)
    {
        const float x = (static_cast<float>(column) + 0.5f) / static_cast<float>(size) * 20.0f - 10.0f;
        const float up = (static_cast<float>(row) + 0.5f) / static_cast<float>(size) * 20.0f - 10.0f;
        return {x, -up};
    }
};

// The per-object uniforms of a lit draw, as the geometry sets them; the
// model matrix is the identity.
inline void setObject(Shader& program, const glm::mat4& viewProjection, const glm::vec3& eye,
                      const Material& material, const std::array<glm::mat4, 3>& shadowMatrices, bool textured)
{
    glUseProgram(program.program());
    const glm::mat4 model(1.0f);
    const glm::mat3 normalMatrix(1.0f);
    glUniform1i(program.location(ShaderLocation::useTexture), textured ? 1 : 0);
    glUniform1i(program.location(ShaderLocation::colorMap), 0);
    glUniformMatrix4fv(program.location(ShaderLocation::texMat_model1), 1, GL_FALSE, glm::value_ptr(shadowMatrices[0]));
    glUniformMatrix4fv(program.location(ShaderLocation::texMat_model2), 1, GL_FALSE, glm::value_ptr(shadowMatrices[1]));
    glUniformMatrix4fv(program.location(ShaderLocation::texMat_model3), 1, GL_FALSE, glm::value_ptr(shadowMatrices[2]));
    glUniformMatrix4fv(program.location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(viewProjection));
    glUniformMatrix4fv(program.location(ShaderLocation::modelMatrix), 1, GL_FALSE, glm::value_ptr(model));
    const glm::vec4 cameraPos(eye, 1.0f);
    glUniform4fv(program.location(ShaderLocation::cameraPos), 1, glm::value_ptr(cameraPos));
    glUniformMatrix3fv(program.location(ShaderLocation::normalMatrix), 1, GL_FALSE, glm::value_ptr(normalMatrix));
    // Columns ambient, diffuse, specular, each a grey.
    const glm::mat3 coefficients(glm::vec3(material.ambient), glm::vec3(material.diffuse), glm::vec3(material.specular));
    glUniformMatrix3fv(program.location(ShaderLocation::reflectionCoefficient), 1, GL_FALSE,
                       glm::value_ptr(coefficients));
    glUniform1f(program.location(ShaderLocation::shininess), material.shininess);
}

// Points the lights' blur program at the source tree for one test.
class LightShaderDirectory {
public:
    LightShaderDirectory() : previous(Light::shaderDirectory()) { Light::setShaderDirectory(shaderDirectory); }
    ~LightShaderDirectory() { Light::setShaderDirectory(previous); }
    LightShaderDirectory(const LightShaderDirectory&) = delete;
    LightShaderDirectory& operator=(const LightShaderDirectory&) = delete;

private:
    std::string previous;
};

// The frame's shadow pass and blur for one light: the casters' depth moments
// into its map (the vertex arrays carry world positions), then blurred in place.
inline void renderShadowMap(Light& light, Shader& shadowProgram, const std::vector<const VertexArray*>& casters)
{
    glBindFramebuffer(GL_FRAMEBUFFER, light.shadowFramebuffer());
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, 1024, 1024);
    glEnable(GL_DEPTH_TEST);
    glUseProgram(shadowProgram.program());
    const glm::mat4 projection =
        glm::perspective(glm::radians(Light::shadowFieldOfView), Light::shadowAspect, light.nearPlane(), light.farPlane());
    const glm::mat4 mvp = projection * *light.inverseModelMatrix;
    glUniformMatrix4fv(shadowProgram.location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(mvp));
    for (const VertexArray* caster : casters) {
        caster->draw();
    }

    glDisable(GL_DEPTH_TEST);
    glUseProgram(light.blurShader().program());
    glBindVertexArray(light.quadVertexArray());
    glActiveTexture(GL_TEXTURE0);
    light.blurShadowMap();
    glBindVertexArray(0);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_DEPTH_TEST);
}

} // namespace litshader
