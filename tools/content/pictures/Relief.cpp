#include "pictures/Relief.h"

#include <glm/glm.hpp>

Image normalMapFromHeight(const Mask& height, float depthInTexels)
{
    Image normals(height.width, height.height, glm::vec4(0.5f, 0.5f, 1.0f, 1.0f));
    for (int y = 0; y < height.height; ++y) {
        for (int x = 0; x < height.width; ++x) {
            auto h = [&](int dx, int dy) { return height.wrapped(x + dx, y + dy); };
            // Sobel differences: central differences smoothed across the
            // other axis, which keeps single-texel grain from flickering.
            float alongU = (h(1, -1) + 2.0f * h(1, 0) + h(1, 1) - h(-1, -1) - 2.0f * h(-1, 0) - h(-1, 1)) / 8.0f;
            float alongV = (h(-1, -1) + 2.0f * h(0, -1) + h(1, -1) - h(-1, 1) - 2.0f * h(0, 1) - h(1, 1)) / 8.0f;
            glm::vec3 n = glm::normalize(glm::vec3(-alongU * depthInTexels, -alongV * depthInTexels, 1.0f));
            normals.at(x, y) = glm::vec4(n * 0.5f + 0.5f, 1.0f);
        }
    }
    return normals;
}
