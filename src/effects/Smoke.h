#pragma once

#include "effects/Particle.h"
#include "gl/GLObject.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>

#include <array>

class Camera;
class Shader;

// A car's exhaust plume: a dense stream of short-lived puffs from two pipes,
// simulated on the CPU and drawn as alpha-blended point sprites with the
// "particle" program in one call.
//
// The car moves the emitters every frame and then calls update; nothing is
// allocated after construction (particles are reused, the upload arrays are
// sized for the capacity). The GL objects are made by the constructor and
// deleted with the object, so a context must be current for both.
class Smoke {
public:
    // Room for more puffs than are used, so particleCount can be raised
    // without reallocating.
    static constexpr int capacity = 250;

    // Fills particleCount particles at the (still zero) emitters and uploads them.
    Smoke(Shader& shader, GLuint texture);
    virtual ~Smoke();
    Smoke(const Smoke&) = delete;
    Smoke& operator=(const Smoke&) = delete;

    // One step of deltaTime. A dead puff respawns at once, at emitterA for
    // odd indices and emitterB for even ones, so both pipes smoke equally;
    // the arrays keep its dead state until the next step.
    void update();
    // All particleCount puffs, dead ones included, in one draw call.
    void draw(const Camera& camera);

    // Everything a step changes, to put the plume back as it was.
    struct State {
        std::array<Particle, capacity> particles;
        std::array<glm::vec3, capacity> positions;
        std::array<glm::vec4, capacity> colors;
        glm::vec3 emitterA;
        glm::vec3 emitterB;
        glm::vec3 emitDirection;
    };
    State state() const { return {particles, positions, colors, emitterA, emitterB, emitDirection}; }
    void setState(const State& state);

    int particleCount = 200; // at most capacity
    Shader& shader;          // not owned: the "particle" program
    GLuint texture;          // not owned: the texture manager's "smoke"
    std::array<Particle, capacity> particles;
    // Smoke rises: one unit per second upwards, whatever the puff's own direction.
    glm::vec3 drift{0.0f, 1.0f, 0.0f};
    // What the GL receives, refreshed after every step and sent once per
    // drawn frame, however many steps the frame ran.
    std::array<glm::vec3, capacity> positions{};
    std::array<glm::vec4, capacity> colors{};
    GLVertexArray vertexArray;
    std::array<GLBuffer, 2> buffers; // positions, colours

    // Set by the car every frame, in world space.
    glm::vec3 emitterA{0.0f};
    glm::vec3 emitterB{0.0f};
    glm::vec3 emitDirection{0.0f}; // the car's backward axis

private:
    void respawn(int index);
    void copyToArrays(int index);
    void upload();

    bool uploadDue = false; // the arrays changed since the last upload
};
