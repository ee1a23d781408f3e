#pragma once

#include "effects/ExplosionParticle.h"
#include "gl/GLObject.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>

#include <array>

class Camera;
class Shader;

// A player's burst of sparks when its car takes an energy stone: an upward
// hemisphere of particles that fly out, fall, and fade from white through
// blue. Simulated on the CPU and drawn as point sprites with the "particle"
// program in one call.
//
// Idle (aliveCount 0) until trigger; bursting until the last spark dies.
// Nothing is allocated after construction. The GL objects are made by the
// constructor and deleted with the object, so a context must be current for both.
class Explosion {
public:
    // Room for more sparks than are used, so particleCount can be raised
    // without reallocating.
    static constexpr int capacity = 300;

    // Idle: the particles wait at (0, 2, 0) and nothing is drawn.
    Explosion(Shader& shader, GLuint texture);
    virtual ~Explosion();
    Explosion(const Explosion&) = delete;
    Explosion& operator=(const Explosion&) = delete;

    // Starts a burst at the point; a burst still running starts over there.
    void trigger(float x, float y, float z);
    // One step of deltaTime; does nothing while idle. Dead sparks stay where
    // they died.
    void update();
    // Draws only while bursting.
    void draw(const Camera& camera);

    // Everything a step or a trigger changes, to put the burst back as it was.
    struct State {
        std::array<ExplosionParticle, capacity> particles;
        std::array<glm::vec3, capacity> positions;
        std::array<glm::vec4, capacity> colors;
        int aliveCount;
    };
    State state() const { return {particles, positions, colors, aliveCount}; }
    void setState(const State& state);

    int aliveCount = 0;
    int particleCount = 150; // at most capacity
    Shader& shader;          // not owned: the "particle" program
    GLuint texture;          // not owned: the texture manager's "explosion"
    std::array<ExplosionParticle, capacity> particles;
    // Sparks fall: one unit per second downwards on top of their own flight.
    glm::vec3 drift{0.0f, -1.0f, 0.0f};
    // What the GL receives, refreshed after every step and sent once per
    // drawn frame, however many steps the frame ran.
    std::array<glm::vec3, capacity> positions{};
    std::array<glm::vec4, capacity> colors{};
    GLVertexArray vertexArray;
    std::array<GLBuffer, 2> buffers; // positions, colours

private:
    void copyToArrays(int index);
    void upload();

    bool uploadDue = false; // the arrays changed since the last upload
};
