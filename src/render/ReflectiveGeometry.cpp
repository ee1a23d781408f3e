#include "render/ReflectiveGeometry.h"

#include "assets/Mesh.h"
#include "gl/Shader.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cstddef>
#include <iostream>

namespace {

// The lit programs' texture-unit layout: 0 colour, 1 to 3 shadow maps, 4 this.
constexpr GLint environmentMapUnit = 4;

constexpr std::array<ShaderLocation, cubeMapFaceCount> cubeFaceKeys{
    ShaderLocation::cubemapMatrix1, ShaderLocation::cubemapMatrix2, ShaderLocation::cubemapMatrix3,
    ShaderLocation::cubemapMatrix4, ShaderLocation::cubemapMatrix5, ShaderLocation::cubemapMatrix6,
};

// All six faces allocated without data; nothing samples the cube before its
// first render. Linear filtering and edge clamping keep the seams between
// faces from showing the wrong face's border.
GLTexture createCubeTexture(GLsizei size, GLint internalFormat, GLenum transferFormat)
{
    GLTexture texture = GLTexture::create();
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture.id());
    for (int layer = 0; layer < cubeMapFaceCount; ++layer) {
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(layer), 0, internalFormat, size, size, 0,
                     transferFormat, GL_UNSIGNED_BYTE, nullptr);
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    return texture;
}

} // namespace

ReflectiveGeometry::ReflectiveGeometry(int faceSize)
    : cubeSize_(faceSize)
{
    createCubeMap();
}

// The GL owners delete both cube textures, then the framebuffer, before the
// Geometry part goes.
ReflectiveGeometry::~ReflectiveGeometry() = default;

void ReflectiveGeometry::createCubeMap()
{
    cubeFramebuffer_ = GLFramebuffer::create();
    glBindFramebuffer(GL_FRAMEBUFFER, cubeFramebuffer_.id());
    // The colour cube is plain 8-bit RGB holding sRGB-encoded values (the
    // cube program encodes, the lit program decodes on sampling).
    cubeColorTexture_ = createCubeTexture(cubeSize_, GL_RGB, GL_RGB);
    cubeDepthTexture_ = createCubeTexture(cubeSize_, GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT);

    // Whole cubes, not single faces: the attachments become layered, and the
    // geometry stage picks the face of each triangle with gl_Layer, so one
    // pass fills all six.
    glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, cubeDepthTexture_.id(), 0);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, cubeColorTexture_.id(), 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::cout << "Error creating cube map" << std::endl;
    }

    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void ReflectiveGeometry::beginCubeRender(Shader& program)
{
    glBindFramebuffer(GL_FRAMEBUFFER, cubeFramebuffer_.id());
    // Clears every layer of both layered attachments at once.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, cubeSize_, cubeSize_);

    const std::array<glm::mat4, cubeMapFaceCount> faces = cubeFaceMatrices(cubeCentre());
    for (std::size_t layer = 0; layer < faces.size(); ++layer) {
        glUniformMatrix4fv(program.location(cubeFaceKeys[layer]), 1, GL_FALSE, glm::value_ptr(faces[layer]));
    }
}

void ReflectiveGeometry::draw(const LitPass& pass, const Placement& at)
{
    // Checked before anything is bound, so that a failed draw leaves no cube behind.
    requirePrepared();
    glActiveTexture(GL_TEXTURE0 + environmentMapUnit);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeColorTexture_.id());
    glUniform1i(pass.program.location(ShaderLocation::environmentMap), environmentMapUnit);
    // Geometry's draw binds each entry's colour texture on the active unit.
    glActiveTexture(GL_TEXTURE0);
    glUniform1i(pass.program.location(ShaderLocation::isReflective), 1);

    Geometry::draw(pass, at);

    glActiveTexture(GL_TEXTURE0 + environmentMapUnit);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glActiveTexture(GL_TEXTURE0);
}

std::array<glm::mat4, cubeMapFaceCount> ReflectiveGeometry::cubeFaceMatrices(const glm::vec3& centre)
{
    // Projection and translation are the same for every face; only the
    // rotation differs.
    const glm::mat4 projection =
        glm::perspective(glm::radians(cubeFieldOfView), 1.0f, cubeNearPlane, cubeFarPlane);
    const glm::mat4 toCentre = glm::translate(glm::mat4(1.0f), -centre);
    std::array<glm::mat4, cubeMapFaceCount> faces;
    for (int layer = 0; layer < cubeMapFaceCount; ++layer) {
        faces[static_cast<std::size_t>(layer)] = projection * cubeMapFaceRotation(layer) * toCentre;
    }
    return faces;
}

glm::vec3 ReflectiveGeometry::cubeCentre() const
{
    return mesh->boundingSphere.worldCentre;
}
