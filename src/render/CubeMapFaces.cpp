#include "render/CubeMapFaces.h"

#include <array>
#include <cassert>
#include <cstddef>

namespace {

// Columns of each rotation, written out rather than computed with lookAt so
// the table can be checked against the GL cube-map convention by eye.
struct FaceColumns {
    glm::vec3 x;
    glm::vec3 y;
    glm::vec3 z;
};

const std::array<FaceColumns, cubeMapFaceCount> faceColumns{{
    {{0.0f, 0.0f, -1.0f}, {0.0f, -1.0f, 0.0f}, {-1.0f, 0.0f, 0.0f}}, // +X, up -Y
    {{0.0f, 0.0f, 1.0f}, {0.0f, -1.0f, 0.0f}, {1.0f, 0.0f, 0.0f}},   // -X, up -Y
    {{1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f}},   // +Y, up +Z
    {{1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, -1.0f, 0.0f}},   // -Y, up -Z
    {{1.0f, 0.0f, 0.0f}, {0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, -1.0f}},  // +Z, up -Y
    {{-1.0f, 0.0f, 0.0f}, {0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}},  // -Z, up -Y
}};

} // namespace

glm::mat4 cubeMapFaceRotation(int layer)
{
    assert(layer >= 0 && layer < cubeMapFaceCount);
    const FaceColumns& face = faceColumns[static_cast<std::size_t>(layer)];
    return glm::mat4(glm::mat3(face.x, face.y, face.z));
}
