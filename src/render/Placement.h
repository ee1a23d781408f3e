#pragma once

#include "scene/BoundingSphere.h"

#include <glm/glm.hpp>

#include <array>

// Where one drawing of a model stands in the world, with everything a pass
// needs to draw it there. A Geometry has one of its own; an energy stone or
// a wheel lends its own to a model it shares with others.
struct Placement {
    glm::mat4 model{1.0f};
    // Upper-left 3x3 of transpose(inverse(model)), as the lit programs want it.
    glm::mat3 normalMatrix{1.0f};
    // Light i's texture matrix × model: world to light i's shadow map, sent
    // as "texMat_model1" to "texMat_model3".
    std::array<glm::mat4, 3> shadowMatrices{glm::mat4(1.0f), glm::mat4(1.0f), glm::mat4(1.0f)};
    // What culling tests, in world space.
    BoundingSphere cullingSphere;
    // The model's own placement, for which its sub-meshes' spheres are kept
    // in the world: only then may a pass skip the sub-meshes out of view.
    bool entriesInWorld = false;

    // shadowMatrices from the lights' texture matrices and the model matrix.
    void setLightMatrices(const std::array<glm::mat4, 3>& lightMatrices)
    {
        for (std::size_t light = 0; light < shadowMatrices.size(); ++light) {
            shadowMatrices[light] = lightMatrices[light] * model;
        }
    }
};
