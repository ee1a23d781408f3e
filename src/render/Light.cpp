#include "render/Light.h"

#include "scene/RoomLayout.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>

namespace {

constexpr float defaultNearPlane = 5.0f;
constexpr float defaultFarPlane = 80.0f;
constexpr float defaultShadowMapSize = static_cast<float>(roomLayout::shadowMapSize);
// The intermediate at full size: a smaller one would blur faster but smear
// the moments of thin casters into their neighbours.
constexpr float defaultBlurRatio = 1.0f;

// Beyond the cone the blur is clipped away, with this margin kept: the lit
// programs filter across one texel at the cone's rim, and the vertical half
// reads the horizontal one up to four texels away (the outer pair's offset
// of 3.3 texels, linearly filtered), so eight texels leave room to spare.
constexpr float coneMarginTexels = 8.0f;
// Where no cone narrows the light (a cutoff at or past 90 degrees, or none),
// a reach beyond the map's corners (the square root of 2) clips nothing.
constexpr float wholeMapReach = 2.0f;

// Reads outside the map see one caster farther than any stored depth (the
// shadow program puts depth 1 past every far plane), so a receiver beyond the
// shadow camera's cone is never darkened.
constexpr std::array<float, 4> momentsBorderColor = {1.0f, 0.0f, 0.0f, 0.0f};

// The headlight's seat relative to the car it rides on: half a unit up, at the
// bonnet, tipped down so that the beam lights the road ahead.
const glm::vec3 headlightOffset(0.0f, 0.5f, -1.3f);
constexpr float headlightTilt = -30.0f;

// Full-screen quad as a fan; its texture coordinates span the whole map, so
// each fragment of a same-sized target samples the centre of its own texel.
constexpr std::array<GLfloat, 8> quadPositions = {-1.0f, -1.0f, 1.0f, -1.0f, 1.0f, 1.0f, -1.0f, 1.0f};
constexpr std::array<GLfloat, 8> quadTexCoords = {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f};

std::string& shaderDirectoryStorage()
{
    static std::string directory = roomLayout::shaderFolder;
    return directory;
}

// Clip space [-1, 1] to texture space [0, 1] on all three axes.
glm::mat4 biasMatrix()
{
    const glm::mat4 scale = glm::scale(glm::mat4(1.0f), glm::vec3(0.5f));
    return glm::translate(glm::mat4(1.0f), glm::vec3(0.5f)) * scale;
}

struct TextureLayout {
    GLint internalFormat;
    GLenum format;
    GLenum type;
    GLint filter;
    GLint wrap;
    bool hasBorder;
};

GLTexture createMapTexture(const TextureLayout& layout, GLsizei size)
{
    GLTexture texture = GLTexture::create();
    glBindTexture(GL_TEXTURE_2D, texture.id());
    glTexImage2D(GL_TEXTURE_2D, 0, layout.internalFormat, size, size, 0, layout.format, layout.type,
                 nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, layout.filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, layout.filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, layout.wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, layout.wrap);
    if (layout.hasBorder) {
        glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, momentsBorderColor.data());
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

// Only the depth test reads it, so nearest filtering and a byte transfer type will do.
const TextureLayout depthLayout = {GL_DEPTH_COMPONENT, GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE,
                                   GL_NEAREST, GL_CLAMP_TO_EDGE, false};
// Full floats: the variance is a difference of two nearly equal moments.
const TextureLayout momentsLayout = {GL_RGBA32F, GL_RGBA, GL_FLOAT, GL_LINEAR, GL_CLAMP_TO_BORDER,
                                     true};
const TextureLayout blurLayout = {GL_RGB32F, GL_RGB, GL_FLOAT, GL_LINEAR, GL_CLAMP_TO_BORDER, true};

void reportIncompleteFramebuffer(const char* message)
{
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::cout << message << '\n';
    }
}

void uploadQuadAttribute(const GLBuffer& buffer, const std::array<GLfloat, 8>& data, GLint location)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer.id());
    glBufferData(GL_ARRAY_BUFFER, sizeof(data), data.data(), GL_STATIC_DRAW);
    // A program that does not read the attribute reports -1; there is nothing to point.
    if (location >= 0) {
        glVertexAttribPointer(static_cast<GLuint>(location), 2, GL_FLOAT, GL_FALSE, 0, nullptr);
        glEnableVertexAttribArray(static_cast<GLuint>(location));
    }
}

} // namespace

void Light::setShaderDirectory(const std::string& directory)
{
    shaderDirectoryStorage() = directory;
}

const std::string& Light::shaderDirectory()
{
    return shaderDirectoryStorage();
}

Light::Light(float spotCosCutoff, float spotExponent, int mapSize)
    : shadowMapSize_(static_cast<float>(mapSize)),
      spotCosCutoff_(spotCosCutoff),
      spotExponent_(spotExponent),
      nearPlane_(defaultNearPlane),
      farPlane_(defaultFarPlane),
      frustum_(shadowFieldOfView, shadowAspect, defaultNearPlane, defaultFarPlane)
{
    setupShadowMap();
    textureMatrix_ = glm::mat4(1.0f);
}

// The GL owners delete their objects; the blur program goes with its pointer.
Light::~Light() = default;

void Light::setupShadowMap()
{
    blurRatio_ = defaultBlurRatio;
    createShadowFramebuffer(static_cast<GLsizei>(shadowMapSize_));
    createBlurFramebuffer(static_cast<GLsizei>(shadowMapSize_ * blurRatio_));
    createBlurShader();
    createQuad();
}

void Light::createShadowFramebuffer(GLsizei size)
{
    shadowDepthTexture_ = createMapTexture(depthLayout, size);
    momentsTexture_ = createMapTexture(momentsLayout, size);
    shadowFramebuffer_ = GLFramebuffer::create();
    glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer_.id());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D,
                           shadowDepthTexture_.id(), 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, momentsTexture_.id(),
                           0);
    reportIncompleteFramebuffer("Cannot create shadow map framebuffer.");
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void Light::createBlurFramebuffer(GLsizei size)
{
    blurFramebuffer_ = GLFramebuffer::create();
    blurTexture_ = createMapTexture(blurLayout, size);
    glBindFramebuffer(GL_FRAMEBUFFER, blurFramebuffer_.id());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, blurTexture_.id(), 0);
    reportIncompleteFramebuffer("Cannot create blur shadow map framebuffer.");
    // The blur writes only inside the cone's octagon, the same one every
    // frame, so what lies outside is cleared once here and stays so (the
    // vertical half reads a few texels of it next to the octagon's edge).
    constexpr std::array<GLfloat, 4> nothing = {0.0f, 0.0f, 0.0f, 0.0f};
    glClearBufferfv(GL_COLOR, 0, nothing.data());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void Light::createBlurShader()
{
    blurShader_ = std::make_unique<Shader>(shaderDirectory() + "gaussianShader");
    // Without its blur the light cannot shade anything: start-up ends here.
    if (blurShader_->program() == 0) {
        throw "Could not compile minimal shader program.";
    }
    bindFragmentOutput(*blurShader_, "out_color");
    colorMapLocation_ = blurShader_->location(ShaderLocation::colorMap);
    directionLocation_ = blurShader_->location(ShaderLocation::direction);
    coneReachLocation_ = glGetUniformLocation(blurShader_->program(), "coneReach");
}

void Light::createQuad()
{
    const GLuint program = blurShader_->program();
    quadVertexArray_ = GLVertexArray::create();
    quadPositionBuffer_ = GLBuffer::create();
    quadTexCoordBuffer_ = GLBuffer::create();
    glBindVertexArray(quadVertexArray_.id());
    uploadQuadAttribute(quadPositionBuffer_, quadPositions,
                        glGetAttribLocation(program, "in_position"));
    uploadQuadAttribute(quadTexCoordBuffer_, quadTexCoords,
                        glGetAttribLocation(program, "in_texCoords"));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void Light::applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform)
{
    SceneObject::applyTransform(transform, inverseTransform);
    position_ = glm::vec3(*modelMatrix * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    const glm::vec3 pointAhead(*modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 1.0f));
    spotDirection_ = glm::normalize(pointAhead - position_);
    updateShadowMatrices();
}

void Light::updateShadowMatrices()
{
    const glm::mat4 projection = glm::perspective(glm::radians(shadowFieldOfView), shadowAspect,
                                                  nearPlane_, farPlane_);
    textureMatrix_ = biasMatrix() * projection * *inverseModelMatrix;
    const glm::mat3 normalMatrix(glm::transpose(*inverseModelMatrix));
    frustum_.update(*modelMatrix, normalMatrix);
}

void Light::setNearPlane(float distance)
{
    nearPlane_ = distance;
    rebuildFrustum();
    updateShadowMatrices();
}

void Light::setFarPlane(float distance)
{
    farPlane_ = distance;
    rebuildFrustum();
    updateShadowMatrices();
}

void Light::rebuildFrustum()
{
    frustum_ = ViewFrustum(shadowFieldOfView, shadowAspect, nearPlane_, farPlane_);
}

void Light::attachTo(const glm::mat4& objectModelMatrix)
{
    // A general inverse: the object's own inverse is not at hand, and this
    // happens once a frame for one light only.
    *modelMatrix = objectModelMatrix;
    *inverseModelMatrix = glm::inverse(objectModelMatrix);
    translate(headlightOffset.x, headlightOffset.y, headlightOffset.z);
    rotateX(headlightTilt);
}

// The cone's rim on the map, in the quad's [-1, 1] units: the shadow camera
// shares the light's position and axis, so a direction at the cutoff angle
// lands tan(angle) / tan(half field of view) from the centre.
float Light::coneReach() const
{
    if (spotCosCutoff_ <= 0.0f) {
        return wholeMapReach;
    }
    const float coneTangent = std::sqrt(1.0f - spotCosCutoff_ * spotCosCutoff_) / spotCosCutoff_;
    const float fieldTangent = std::tan(glm::radians(0.5f * shadowFieldOfView));
    return std::min(coneTangent / fieldTangent + coneMarginTexels * 2.0f / shadowMapSize_, wholeMapReach);
}

void Light::blurShadowMap()
{
    // Eight planes, all written by the blur's vertex stage; no other program
    // writes clip distances, so they are switched off again below.
    for (GLenum plane = 0; plane < 8; ++plane) {
        glEnable(GL_CLIP_DISTANCE0 + plane);
    }
    glUniform1f(coneReachLocation_, coneReach());
    // The taps step by the full map's texels whatever this map's size, so a
    // smaller map is blurred as far across the room.
    const float blurSize = shadowMapSize_ * blurRatio_;
    const float tapStep = 1.0f / defaultShadowMapSize;
    blurPass(blurFramebuffer_.id(), static_cast<GLsizei>(blurSize), glm::vec2(tapStep / blurRatio_, 0.0f),
             momentsTexture_.id());
    blurPass(shadowFramebuffer_.id(), static_cast<GLsizei>(shadowMapSize_), glm::vec2(0.0f, tapStep),
             blurTexture_.id());
    for (GLenum plane = 0; plane < 8; ++plane) {
        glDisable(GL_CLIP_DISTANCE0 + plane);
    }
}

// One separable half of the Gaussian: "direction" is one texel step along the
// axis being blurred. Nothing is cleared: every texel inside the octagon is
// written, and outside it the lit programs weigh this light by zero. The
// second pass lands in the shadow framebuffer, whose depth belongs to the
// shadow pass.
void Light::blurPass(GLuint target, GLsizei size, const glm::vec2& direction, GLuint source)
{
    glBindFramebuffer(GL_FRAMEBUFFER, target);
    glViewport(0, 0, size, size);
    glUniform2fv(directionLocation_, 1, glm::value_ptr(direction));
    glBindTexture(GL_TEXTURE_2D, source);
    glUniform1i(colorMapLocation_, 0);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
}
