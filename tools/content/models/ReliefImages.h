#pragma once

#include <glm/glm.hpp>

#include <filesystem>
#include <vector>

// JPEG files for relief maps. Row 0 of the pixels is texture v = 0 (the
// program hands FreeImage's bottom-up rows to GL unchanged).
struct ReliefImage {
    int width = 0;
    int height = 0;
    std::vector<float> heights;      // 0..1, white = raised
    std::vector<glm::vec3> normals;  // unit, tangent space: x along +u, y along +v, z out

    float& heightAt(int x, int y) { return heights[static_cast<std::size_t>(y) * width + x]; }
    glm::vec3& normalAt(int x, int y) { return normals[static_cast<std::size_t>(y) * width + x]; }
};

// 8-bit grey (black is 0) and 24-bit colour (normal components mapped to
// 0..255); false, with a message, when a file cannot be written.
bool writeHeightJpeg(const ReliefImage& image, const std::filesystem::path& path);
bool writeNormalJpeg(const ReliefImage& image, const std::filesystem::path& path);
