#pragma once

#include <glm/glm.hpp>

// One puff of exhaust smoke. Smoke holds its particles by value and brings a
// dead one back with reset, so the plume never allocates once it is built.
class Particle {
public:
    virtual ~Particle() = default;

    // Respawns near p travelling along d. One draw gives both the speed and
    // the life, so a fast puff is also a long-lived one.
    void reset(const glm::vec3& p, const glm::vec3& d);

    glm::vec4 color{0.0f}; // rgb, and the opacity in a
    float life = 0.0f;     // dead at 0 or below
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f}; // as the car gave it, not normalised
    float speed = 0.0f;        // units per second along direction
};
