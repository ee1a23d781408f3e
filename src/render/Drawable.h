#pragma once

#include <epoxy/gl.h>
#include <glm/glm.hpp>


class Camera;
class Shader;
class ShadowCaster;

// What each pass of the frame hands the objects it draws: the pass's
// program, made current by the pass, and what the pass draws for.
struct ShadowPass {
    Shader& program; // "shadow"
    const ShadowCaster& light;
};
struct CubeMapPass {
    Shader& program; // "environmentCube", the lights loaded
    glm::vec3 centre; // of the reflective object
};
struct LitPass {
    Shader& program; // "phong" or "parallax", the lights loaded
    const Camera& camera;
};
struct VelocityPass {
    Shader& program; // "motionblur"
    const Camera& camera;
};

// Something the frame draws in its opaque passes. The frame keeps one ordered
// list of these per pass and calls the matching operation on each entry, so an
// object joins a pass by being put in that pass's list. A plain Geometry draws
// itself at its own placement; an energy stone lends its placement to a
// shared stone model; a car's wheel set draws one tyre at four.
class Drawable {
public:
    virtual ~Drawable() = default;

    // False while the object must not be seen in any pass (a collected stone).
    virtual bool isDrawn() const { return true; }

    // Depth moments into the bound shadow map.
    virtual void drawShadow(const ShadowPass& pass) = 0;
    // Lit draw into the bound layered cube map.
    virtual void drawToCubeMap(const CubeMapPass& pass) = 0;
    // Lit draw through the camera.
    virtual void draw(const LitPass& pass) = 0;
    // Velocity draw of the motion-blur pass.
    virtual void drawVelocity(const VelocityPass& pass) = 0;
    // The three lights' texture matrices, handed over once per race step.
    virtual void setLightMatrices(const glm::mat4& light1, const glm::mat4& light2, const glm::mat4& light3) = 0;
};
