#pragma once

#include "render/Geometry.h"
#include "vehicles/Controls.h"

#include <glm/glm.hpp>

#include <map>

class Camera;
class Smoke;
class Wheel;
template <typename T>
class TCallback;

// A toy car: a drawable body that drives along its own forward axis (-Z)
// with a one-dimensional signed speed, turns about its own vertical axis at a
// speed-dependent rate, rolls and steers its four wheels, drags a chase
// camera behind it and feeds its exhaust smoke. There is no physics beyond
// that: the car keeps the height it was placed at.
//
// Each frame the race update clears the wheels' steering angle, applies the
// controls of the car's script (accelerate, brake, steerLeft, steerRight, in
// that order) and then calls updateMotion. Every rate is per second and
// scaled by deltaTime.
class Car : public Geometry {
public:
    Car();
    // Needs a current context when the body or the smoke holds GL objects.
    ~Car() override;

    // Back to the origin at rest, facing -Z, with a fresh chase camera. The
    // race restart places it afterwards and sets its wheel positions.
    void reset();
    // key 1 to 4 (1 and 2 are the steered front wheels), position in car space.
    void setWheelPosition(int key, const glm::vec3& position);

    // Towards maxSpeed; a step that would reach or pass it is skipped.
    void accelerate();
    // Braking and reversing are one control, down to about -15.
    void brake();
    // Turn left when moving forward, right when reversing; nothing at rest.
    void steerLeft();
    void steerRight();
    // Signed degrees per second at the current speed: rising linearly from 0
    // at rest to turnRateAtThreshold at 3, then falling to two thirds of it
    // at maxSpeed, so the car is nimble when slow and steady when fast.
    float turnRate() const;
    // One frame's controls from a movement script's flags: the front wheels
    // straightened, then accelerate, brake, steer left and steer right, each
    // when its bit is set.
    void applyControls(Controls controls);
    // Rolling resistance, the move along the heading, the wheels' roll, the
    // smoke feed; ends this frame's steering.
    void updateMotion();

    // Geometry's, then the chase camera and the wheels follow the body, and
    // the camera's lag decays.
    void applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform) override;

    // Takes the smoke over (deleted with the car, or when replaced) and
    // feeds it from now on.
    void setSmoke(Smoke* emitter);

    float speedFactor = 1.0f;     // scales the distance travelled and the turn rate's speed
    glm::vec4 exhaustPoint1{0.0f}; // car space, w = 1 once content loading sets it
    glm::vec4 exhaustPoint2{0.0f};
    glm::vec3* const direction;   // owned; car space, forward = -Z
    float maxSpeed = 22.0f;       // also the top end of the steering curve
    float acceleration = 10.0f;   // speed gained per second
    float* const speed;           // owned; along direction, negative when reversing
    float turnRateAtThreshold = 100.0f;
    Camera* const camera;         // owned: the chase camera
    // Degrees by which the chase camera trails the car's heading: steering
    // adds to it, every transform lets it decay, so the view swings after
    // the car instead of turning rigidly with it.
    float cameraLag = 0.0f;
    std::map<int, glm::vec3> wheelPositions; // keys 1 to 4, car space
    Wheel* const wheels;                     // owned
    Smoke* smoke = nullptr;                  // owned and fed while hasSmoke
    bool hasSmoke = false;
    bool steeringRight = false; // set by the steering controls, cleared by updateMotion
    bool steeringLeft = false;
    TCallback<Car>* const callback; // owned; bound to nothing, like the player's

private:
    void applyRollingResistance();
    void feedSmoke();
};
