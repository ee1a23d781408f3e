#pragma once

#include "render/Drawable.h"
#include "render/Placement.h"
#include "scene/BoundingBox.h"
#include "scene/BoundingSphere.h"
#include "scene/SceneObject.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>

#include <array>

class Geometry;

// A collectable gem on the course. It has no model of its own: it lends its
// placement to one of the shared stone geometries and keeps, in world space,
// the records the frame and the race rules read (a culling sphere, a
// collision footprint and the three shadow matrices).
//
// Spins until a car touches it, then is collected: hidden from every pass
// and ignored by the rules until the race restarts.
class EnergyStone : public SceneObject, public Drawable {
public:
    EnergyStone() = default;

    // The shared model to draw; copies its first sub-mesh's sphere and box
    // and carries them to the stone's current placement.
    void setGeometry(Geometry* model);

    // The default behaviour, then the sphere, footprint and shadow matrices
    // follow the stone.
    void applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform) override;

    bool isDrawn() const override { return !collected; }
    // Each pass draws the shared model at the stone's placement.
    void drawShadow(const ShadowPass& pass) override;
    void drawToCubeMap(const CubeMapPass& pass) override;
    void draw(const LitPass& pass) override;
    void drawVelocity(const VelocityPass& pass) override;
    // Also refreshes the shadow matrices at once, so a stone's shadow
    // matches the lights of the frame it is drawn in.
    void setLightMatrices(const glm::mat4& light1, const glm::mat4& light2, const glm::mat4& light3) override;

    // Where the stone lends the shared model: its model and normal matrix,
    // shadow matrices and culling sphere.
    const Placement& placement() const { return at; }

    std::array<glm::mat4, 3> lightMatrices{glm::mat4(1.0f), glm::mat4(1.0f), glm::mat4(1.0f)};
    Geometry* geometry = nullptr; // not owned: one of the shared stone models
    bool collected = false;
    BoundingSphere boundingSphere; // the model's first sub-mesh sphere; world centre follows the stone
    BoundingBox boundingBox;       // the model's first sub-mesh box; footprint follows the stone

private:
    void updatePlacement();

    Placement at;
};
