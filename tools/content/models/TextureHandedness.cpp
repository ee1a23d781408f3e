#include "models/TextureHandedness.h"

#include <cmath>
#include <cstdio>

bool checkTextureHandedness(const MeshBuilder& mesh, const char* name)
{
    std::size_t mirrored = 0;
    for (const MeshBuilder::Group& group : mesh.materialGroups()) {
        for (std::size_t i = 0; i + 2 < group.vertices.size(); i += 3) {
            const MeshBuilder::Vertex &a = group.vertices[i], &b = group.vertices[i + 1], &c = group.vertices[i + 2];
            glm::vec2 du = b.uv - a.uv, dv = c.uv - a.uv;
            float uvArea = du.x * dv.y - dv.x * du.y;
            glm::vec3 n = glm::cross(b.position - a.position, c.position - a.position);
            // Triangles without area in either space have no frame to get wrong.
            if (std::abs(uvArea) > 1e-12f && glm::dot(n, n) > 1e-14f && uvArea < 0.0f) {
                ++mirrored;
            }
        }
    }
    if (mirrored > 0) {
        std::fprintf(stderr, "Model '%s': %zu triangles have mirrored texture coordinates\n", name, mirrored);
    }
    return mirrored == 0;
}
