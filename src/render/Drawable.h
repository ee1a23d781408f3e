#pragma once

#include <epoxy/gl.h>
#include <glm/glm.hpp>

class Camera;
class Shader;
class ShadowCaster;

// Something the frame draws in its opaque passes. The frame keeps one ordered
// list of these per pass and calls the matching operation on each entry, so an
// object joins a pass by being put in that pass's list. A plain Geometry draws
// itself with its own placement; an energy stone lends its placement to a
// shared stone model; a car's wheel set draws one tyre four times.
class Drawable {
public:
    virtual ~Drawable() = default;

    // False while the object must not be seen in any pass (a collected stone).
    virtual bool isDrawn() const { return true; }

    // Depth moments into the bound shadow map; the shadow program is current
    // and mvpLocation is its "mvpMatrix".
    virtual void drawShadow(const ShadowCaster& light, GLint mvpLocation) = 0;
    // Lit draw into the bound layered cube map around cubeCentre.
    virtual void drawToCubeMap(Shader& program, const glm::vec3& cubeCentre) = 0;
    // Lit draw through the camera; the caller has made the program current
    // and loaded the lights.
    virtual void draw(const Camera& camera) = 0;
    // Velocity draw of the motion-blur pass with the "motionblur" program.
    virtual void drawVelocity(const Camera& camera, Shader& program) = 0;
    // The three lights' texture matrices, handed over once per frame.
    virtual void setLightMatrices(const glm::mat4& light1, const glm::mat4& light2, const glm::mat4& light3) = 0;
};
