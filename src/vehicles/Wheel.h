#pragma once

#include "render/Drawable.h"
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
    // World matrices, normal matrices, centres and light-space matrices of
    // the four wheels from the car's model matrix and its inverse.
    void place(const glm::mat4& carModel, const glm::mat4& carInverse);

    void drawShadow(const ShadowCaster& light, GLint mvpLocation) override;
    // The tyre's culling sphere is left where it is: the cube looks everywhere.
    void drawToCubeMap(Shader& program, const glm::vec3& cubeCentre) override;
    void draw(const Camera& camera) override;
    void drawVelocity(const Camera& camera, Shader& program) override;
    // Also refreshes the light-space matrices at once, so the wheels' shadows
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
    std::array<glm::mat4, count> wheelModel;       // world matrix
    std::array<glm::mat3, count> wheelNormal;      // upper-left 3x3 of transpose(inverse(wheelModel))
    std::array<glm::vec3, count> wheelCentre;      // world position of the wheel's centre
    std::array<std::array<glm::mat4, 3>, count> lightSpaceMatrices; // light matrix k × wheelModel

    // The three lights' texture matrices as last given.
    std::array<glm::mat4, 3> lightMatrices;

private:
    void updateLightSpaceMatrices();
    // Culling tests the tyre's sphere, so it is moved onto the wheel before each draw.
    void moveCullingSphere(int wheel);
};
