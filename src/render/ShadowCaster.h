#pragma once

#include <glm/glm.hpp>

class Light;
class ViewFrustum;

// What a shadow-map draw needs to know of the light it renders for: the
// light's culling volume and the projection of its shadow camera. Geometry
// takes this rather than the Light itself so that drawing casters depends on
// neither the light's framebuffers nor its blur program.
class ShadowCaster {
public:
    // Implicit, so the frame pipeline hands its lights straight to
    // Geometry::drawShadow. The light must outlive the caster.
    ShadowCaster(const Light& light);
    // view is the light's inverse model matrix.
    ShadowCaster(const ViewFrustum& frustum, float nearPlane, float farPlane, const glm::mat4& view);

    // Shadow projection × view: world to the light's clip space.
    glm::mat4 viewProjection() const;

    const ViewFrustum* frustum; // not owned
    float nearPlane;
    float farPlane;
    glm::mat4 view;
};
