#pragma once

#include "common/Material.h"

#include <glm/glm.hpp>

#include <filesystem>
#include <string>
#include <vector>

// Collects triangles grouped by material and writes them as OBJ + MTL with
// fixed number formatting, so equal input gives equal bytes. Primitives are
// placed through a transform stack; normals follow the inverse transpose.
class MeshBuilder {
public:
    struct Vertex {
        glm::vec3 position;
        glm::vec3 normal;
        glm::vec2 uv;
    };

    // Later primitives go into this material's group (added on first use).
    void useMaterial(const Material& material);

    void pushTransform(const glm::mat4& transform);
    void popTransform();

    // One triangle / quad (counter-clockwise seen from the front); the normal is computed when zero.
    void addTriangle(const Vertex& a, const Vertex& b, const Vertex& c);
    void addQuad(const Vertex& a, const Vertex& b, const Vertex& c, const Vertex& d);

    // Axis-aligned box; uvScale is texture repeats per unit. inward flips the faces (rooms).
    void addBox(const glm::vec3& lower, const glm::vec3& upper, float uvScale = 1.0f, bool inward = false);
    // Cylinder along +y from the base centre; capped ends optional.
    void addCylinder(const glm::vec3& baseCentre, float radius, float height, int segments, bool caps = true,
                     float uvScale = 1.0f);
    // Smooth ellipsoid with radii per axis.
    void addEllipsoid(const glm::vec3& centre, const glm::vec3& radii, int segments, int rings);
    // Torus around +y: ring radius and tube radius; uv runs once around each way.
    void addTorus(const glm::vec3& centre, float ringRadius, float tubeRadius, int segments, int sides);
    // Surface of revolution around +y from a profile of (radius, height) points, bottom to top.
    void addLathe(const glm::vec3& baseCentre, const std::vector<glm::vec2>& profile, int segments);

    bool empty() const { return groups.empty(); }
    std::size_t triangleCount() const;
    // Writes name.obj and name.mtl into dir; false (with a message) on failure.
    bool writeObj(const std::filesystem::path& dir, const std::string& name) const;

    // Lower and upper corner of everything added so far.
    glm::vec3 lowerBound() const;
    glm::vec3 upperBound() const;

    struct Group {
        Material material;
        std::vector<Vertex> vertices; // three per triangle
    };
    const std::vector<Group>& materialGroups() const { return groups; }

private:
    std::vector<Group> groups;
    std::size_t current = 0;
    std::vector<glm::mat4> transforms{glm::mat4(1.0f)};

    Vertex place(const Vertex& v) const;
    Group& currentGroup();
};
