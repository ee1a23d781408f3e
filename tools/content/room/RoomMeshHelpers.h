#pragma once

#include "common/MeshBuilder.h"

#include <array>

namespace room {

// A flat rectangle from origin along edge u, then edge v; its front side is
// the one cross(u, v) points to. uvLower belongs to origin, uvUpper to the
// opposite corner.
void addRect(MeshBuilder& mesh, const glm::vec3& origin, const glm::vec3& u, const glm::vec3& v,
             const glm::vec2& uvLower, const glm::vec2& uvUpper);

// Box whose texture is projected from its own coordinates (scale: repeats
// per unit), so neighbouring boxes continue each other's pattern; where a
// face contains the box's longest axis, the texture's v runs along it,
// which lays wood grain along boards, legs and rails.
void addMappedBox(MeshBuilder& mesh, const glm::vec3& lower, const glm::vec3& upper, float scale,
                  const glm::vec2& offset = glm::vec2(0.0f));

// Box with its own texture rectangle per face, faces in the order +z, -z,
// +x, -x, +y, -y; a face whose bit (1 << index) is set in skipFaces is left
// out (sides nobody sees).
struct UvRect {
    glm::vec2 lower;
    glm::vec2 upper;
};
void addAtlasBox(MeshBuilder& mesh, const glm::vec3& lower, const glm::vec3& upper,
                 const std::array<UvRect, 6>& faces, unsigned skipFaces = 0);

// Copies every triangle of piece that has an area into mesh, material by material.
void appendMesh(MeshBuilder& mesh, const MeshBuilder& piece);

} // namespace room
