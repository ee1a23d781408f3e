#include "render/ShadowCaster.h"

#include "render/Light.h"
#include "scene/ViewFrustum.h"

#include <glm/gtc/matrix_transform.hpp>

ShadowCaster::ShadowCaster(const Light& light)
    : ShadowCaster(light.frustum(), light.nearPlane(), light.farPlane(), *light.inverseModelMatrix)
{
}

ShadowCaster::ShadowCaster(const ViewFrustum& frustum, float nearPlane, float farPlane, const glm::mat4& view)
    : frustum(&frustum), nearPlane(nearPlane), farPlane(farPlane), view(view)
{
}

// The light's own texture matrix carries a bias into texture space; the
// shadow pass needs the plain clip-space projection of the same camera.
glm::mat4 ShadowCaster::viewProjection() const
{
    const glm::mat4 projection =
        glm::perspective(glm::radians(Light::shadowFieldOfView), Light::shadowAspect, nearPlane, farPlane);
    return projection * view;
}
