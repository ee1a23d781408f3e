#pragma once

#include "gl/GLObject.h"
#include "gl/Shader.h"
#include "scene/RoomLayout.h"
#include "scene/SceneObject.h"
#include "scene/ViewFrustum.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>

#include <memory>
#include <string>

// A spot light that casts soft shadows through a variance shadow map.
//
// The light looks down its own -Z axis. Each frame the pipeline draws the
// casters' depth moments into shadowFramebuffer (program "shadowShader", whose
// header says what is stored and how to read it), then blurs momentsTexture in
// place with blurShadowMap; the lit programs sample momentsTexture through
// textureMatrix. position, spotDirection, textureMatrix and frustum follow
// every transformation, so they always agree with modelMatrix.
//
// All GL objects are made in the constructor and deleted with the light; a
// GL context must be current for both.
class Light : public SceneObject {
public:
    // The shadow camera: a 120 degree cone covers a spot light's widest beam
    // with one square map.
    static constexpr float shadowFieldOfView = 120.0f; // vertical, degrees
    static constexpr float shadowAspect = 1.0f;

    // Builds the shadow map, the blur framebuffer, the blur program and the
    // quad. An incomplete framebuffer is reported on standard output and
    // construction goes on; a blur program that cannot be built throws the
    // text "Could not compile minimal shader program." (a const char*).
    // mapSize: texels a side of the shadow map; a smaller map is blurred
    // as far across the room as the full one, so its shadows stay as soft.
    Light(float spotCosCutoff, float spotExponent, int mapSize = roomLayout::shadowMapSize);
    ~Light() override;
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    // Where the blur program "gaussianShader" is read from, with a trailing
    // slash. The program runs from bin/ and keeps the default
    // "../brimbolt/Shaders/"; tests and tools started elsewhere point it at
    // their own copy before constructing a light.
    static void setShaderDirectory(const std::string& directory);
    static const std::string& shaderDirectory();

    // The default behaviour, then position, spotDirection and the shadow matrices.
    void applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform) override;

    // textureMatrix and the frustum from the current placement and planes.
    void updateShadowMatrices();

    // Each rebuilds the frustum for the new range and refreshes the shadow matrices.
    void setNearPlane(float distance);
    void setFarPlane(float distance);

    // Rides on a moving object (a car's headlight): placed at the object's
    // model matrix, then moved to the front of it and tipped down onto the road.
    void attachTo(const glm::mat4& objectModelMatrix);

    // Blurs momentsTexture in place, horizontally into the blur texture and
    // vertically back. The caller has made blurShader's program current, bound
    // quadVertexArray and switched depth testing off; unit 0 must be active.
    // Leaves the shadow framebuffer and the blur texture bound.
    void blurShadowMap();

    GLuint shadowFramebuffer() const { return shadowFramebuffer_.id(); }
    GLuint momentsTexture() const { return momentsTexture_.id(); }
    GLuint shadowDepthTexture() const { return shadowDepthTexture_.id(); }
    GLuint blurFramebuffer() const { return blurFramebuffer_.id(); }
    GLuint blurTexture() const { return blurTexture_.id(); }
    GLuint quadVertexArray() const { return quadVertexArray_.id(); }
    Shader& blurShader() const { return *blurShader_; }
    float shadowMapSize() const { return shadowMapSize_; }
    float blurRatio() const { return blurRatio_; }

    // Culling volume of the shadow pass, in world space after the first transformation.
    const ViewFrustum& frustum() const { return frustum_; }
    float nearPlane() const { return nearPlane_; }
    float farPlane() const { return farPlane_; }
    // bias x shadow projection x view: world position -> (s, t, r, q); s/q and
    // t/q address the shadow map, r/q is post-projection depth in [0, 1] and q
    // the distance along the light's axis.
    const glm::mat4& textureMatrix() const { return textureMatrix_; }

    const glm::vec3& position() const { return position_; }
    const glm::vec3& color() const { return color_; }
    const glm::vec3& attenuation() const { return attenuation_; } // constant, linear, quadratic
    const glm::vec3& spotDirection() const { return spotDirection_; } // unit, world space
    float spotCosCutoff() const { return spotCosCutoff_; }
    float spotExponent() const { return spotExponent_; }

    // The race restart sets these directly; a later transformation recomputes
    // position and spotDirection from the model matrix.
    void setPosition(const glm::vec3& position) { position_ = position; }
    void setSpotDirection(const glm::vec3& direction) { spotDirection_ = direction; }
    void setColor(const glm::vec3& color) { color_ = color; }
    void setAttenuation(const glm::vec3& attenuation) { attenuation_ = attenuation; }
    void setSpotCosCutoff(float cosCutoff) { spotCosCutoff_ = cosCutoff; }
    void setSpotExponent(float exponent) { spotExponent_ = exponent; }

private:
    void setupShadowMap();
    void createShadowFramebuffer(GLsizei size);
    void createBlurFramebuffer(GLsizei size);
    void createBlurShader();
    void createQuad();
    void blurPass(GLuint target, GLsizei size, const glm::vec2& direction, GLuint source);
    void rebuildFrustum();
    float coneReach() const;

    glm::mat4 textureMatrix_{1.0f};
    glm::vec3 position_{0.0f};
    glm::vec3 color_{1.0f, 1.0f, 1.0f};
    glm::vec3 attenuation_{1.0f, 0.0f, 0.0f};
    std::unique_ptr<Shader> blurShader_; // owned; made by setupShadowMap
    GLFramebuffer shadowFramebuffer_;
    GLTexture momentsTexture_;
    GLTexture shadowDepthTexture_;
    GLFramebuffer blurFramebuffer_;
    GLTexture blurTexture_;
    float blurRatio_ = 1.0f;
    float shadowMapSize_ = 0.0f; // set by the constructor
    GLint colorMapLocation_ = -1;
    GLint directionLocation_ = -1;
    GLint coneReachLocation_ = -1;
    GLVertexArray quadVertexArray_;
    GLBuffer quadPositionBuffer_;
    GLBuffer quadTexCoordBuffer_;
    float spotCosCutoff_;
    float spotExponent_;
    glm::vec3 spotDirection_{0.0f, 0.0f, -1.0f};
    float nearPlane_ = 5.0f;
    float farPlane_ = 80.0f;
    // Rebuilt in place when a plane moves, so references to it stay valid.
    ViewFrustum frustum_;
};
