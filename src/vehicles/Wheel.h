#pragma once

#include "render/Drawable.h"
#include "render/Placement.h"
#include "scene/SceneObject.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>

#include <array>

class Geometry;

// The four wheels of one car: one tyre model drawn four times, each time
// with its own world matrix. The car places the set whenever it moves (its
// own transform hook calls place) and rolls it by its speed; the wheel set's
// own transform is never used.
//
// Wheels 1 and 2 (indices 0 and 1) are the steered front wheels.
class Wheel : public SceneObject, public Drawable {
public:
    static constexpr int count = 4;

    // All matrices identity, wheels straight; the tyre stays empty until
    // content loading reads its model.
    Wheel();
    ~Wheel() override;

    // Turns the wheels about their axles by the distance the car covers this
    // frame at speed; shows at the next placement.
    void roll(float speed);
    // The four wheels' placements (world and normal matrices, shadow
    // matrices, the tyre's sphere at each wheel's centre) from the car's
    // model matrix and its inverse.
    void place(const glm::mat4& carModel, const glm::mat4& carInverse);

    // Each pass draws the tyre at the four wheels' placements.
    void drawShadow(const ShadowPass& pass) override;
    void drawToCubeMap(const CubeMapPass& pass) override;
    void draw(const LitPass& pass) override;
    void drawVelocity(const VelocityPass& pass) override;
    // Also refreshes the shadow matrices at once, so the wheels' shadows
    // never lag a frame behind the car body's.
    void setLightMatrices(const glm::mat4& light1, const glm::mat4& light2, const glm::mat4& light3) override;

    Geometry* const tyre; // owned, deleted in the destructor
    // Yaw of the front wheels in degrees; the race update clears it every
    // frame and the steering controls set it.
    float steeringAngle = 0.0f;
    // Accumulated roll about the axle, and its inverse kept alongside.
    glm::mat4 spin{1.0f};
    glm::mat4 spinInverse{1.0f};

    // Per wheel, index = wheel number - 1.
    std::array<glm::mat4, count> wheelTranslation; // car space: to the wheel's centre
    std::array<Placement, count> wheelPlacements;  // where the tyre is drawn for each wheel

    // The three lights' texture matrices as last given.
    std::array<glm::mat4, 3> lightMatrices;

    // The world position of a wheel's centre.
    glm::vec3 wheelCentre(int wheel) const
    {
        return wheelPlacements[static_cast<std::size_t>(wheel)].cullingSphere.worldCentre;
    }
};
