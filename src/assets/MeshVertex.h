#pragma once

#include <glm/glm.hpp>

#include <cstddef>

// One record of a model's merged vertex array, uploaded to the GL byte for
// byte, so its layout is the vertex buffer's layout.
struct MeshVertex {
    // w is 1 so the shaders can multiply the attribute as a point unchanged.
    glm::vec4 position{0.0f, 0.0f, 0.0f, 1.0f};
    glm::vec3 normal{0.0f};
    // The material's diffuse colour, repeated per vertex so that one draw
    // call per sub-mesh needs no colour uniform.
    glm::vec3 color{0.0f};
    glm::vec2 texCoord{0.0f};
};

// The attribute pointers in Mesh::uploadBuffers rely on this packing.
static_assert(sizeof(MeshVertex) == 48);
static_assert(offsetof(MeshVertex, position) == 0);
static_assert(offsetof(MeshVertex, normal) == 16);
static_assert(offsetof(MeshVertex, color) == 28);
static_assert(offsetof(MeshVertex, texCoord) == 40);
