#pragma once

#include <glm/glm.hpp>

// One spark of an explosion burst. Explosion holds its particles by value and
// restarts them with reset, so a burst never allocates.
class ExplosionParticle {
public:
    virtual ~ExplosionParticle() = default;

    // Starts at p in a random direction of the upper hemisphere. One draw
    // sets the speed, the life and the upward part of the direction, so the
    // faster sparks also live longer and fly higher.
    void reset(const glm::vec3& p);

    glm::vec4 color{0.0f}; // rgb, and the opacity in a
    float life = 0.0f;     // dead at 0 or below
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f}; // unit length
    float speed = 0.0f;        // units per second along direction
};
