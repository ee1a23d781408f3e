#pragma once

#include "common/MeshBuilder.h"

#include <glm/glm.hpp>

#include <cstddef>
#include <functional>
#include <vector>

// Triangles with positions and texture coordinates only. Normals are worked
// out last, from the finished surface: pieces that share an edge shade as one
// where they meet at a shallow angle and keep a crisp edge where they fold.
class Shape {
public:
    struct Corner {
        glm::vec3 position;
        glm::vec2 uv{0.0f};
    };
    using GridPoint = std::function<Corner(int column, int row)>;
    using GridMaterial = std::function<const Material*(int column, int row)>;

    // Later triangles use this material (the first use keeps its place).
    void useMaterial(const Material& material);

    void pushTransform(const glm::mat4& transform);
    void popTransform();

    // Later primitives' 0..1 texture coordinates land in this rectangle of the
    // texture (the whole texture until changed), for models that share one
    // texture between their parts.
    void setUvRect(const glm::vec2& lower, const glm::vec2& upper);

    // Counter-clockwise seen from outside. Triangles without area are dropped.
    void addTriangle(const Corner& a, const Corner& b, const Corner& c);
    // Split along the shorter diagonal, which keeps curved strips even.
    void addQuad(const Corner& a, const Corner& b, const Corner& c, const Corner& d);

    // A (columns + 1) x (rows + 1) grid of points; the cell (i, j) is the quad
    // (i, j), (i + 1, j), (i + 1, j + 1), (i, j + 1), which faces outward when
    // the column direction crossed with the row direction does. The material
    // callback may choose per cell; null keeps the current one.
    void addGrid(int columns, int rows, const GridPoint& point, const GridMaterial& material = nullptr);

    // Writes every triangle into the builder. A corner's normal averages the
    // faces around its position that lie within creaseDegrees of its own face.
    void emit(MeshBuilder& builder, float creaseDegrees) const;

    std::size_t triangleCount() const { return triangles.size(); }

private:
    struct Triangle {
        Corner corners[3];
        std::size_t material;
    };
    std::vector<Material> materials;
    std::size_t current = 0;
    std::vector<Triangle> triangles;
    std::vector<glm::mat4> transforms{glm::mat4(1.0f)};
    glm::vec2 uvLower{0.0f}, uvUpper{1.0f};
};
