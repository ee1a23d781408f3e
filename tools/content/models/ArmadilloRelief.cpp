#include "common/Image.h"
#include "models/ArmadilloAtlas.h"
#include "models/Models.h"

#include <cmath>

// Bakes the armadillo's relief from its finer surface: the height function of
// each part, sampled over that part's rectangle of the texture, and the
// normals of that height field over the part's real size, in the tangent
// frame the program builds from the texture coordinates (x along +u, y along
// +v). Texels outside every part stay flat at mid height. Rows are counted
// from the bottom, as v runs.
namespace {
constexpr int mapSize = 1024;

struct Relief {
    Mask heights{mapSize, mapSize, 0.5f};                                  // 0..1, white = raised
    Image normals{mapSize, mapSize, glm::vec4(0.5f, 0.5f, 1.0f, 1.0f)}; // n * 0.5 + 0.5, flat = straight out
};

void bakePart(Relief& relief, armadillo::Part part)
{
    const armadillo::Region& region = armadillo::regionOf(part);
    glm::ivec2 first = glm::ivec2(glm::round(region.lower * float(mapSize)));
    glm::ivec2 last = glm::ivec2(glm::round(region.upper * float(mapSize))) - 1;
    glm::vec2 inner0 = armadillo::atlasUv(part, 0.0f, 0.0f), inner1 = armadillo::atlasUv(part, 1.0f, 1.0f);
    // Surface coordinates of a texel centre; past the ends of t the edge
    // repeats, round s the pattern wraps as the surface does.
    auto surfaceAt = [&](int x, int y) {
        glm::vec2 uv = (glm::vec2(x, y) + 0.5f) / float(mapSize);
        glm::vec2 st = (uv - inner0) / (inner1 - inner0);
        return glm::vec2(st.x - std::floor(st.x), glm::clamp(st.y, 0.0f, 1.0f));
    };
    int w = last.x - first.x + 1, h = last.y - first.y + 1;
    // Heights with a one-texel apron, so the edges get central differences too.
    std::vector<float> heights(static_cast<std::size_t>((w + 2) * (h + 2)));
    for (int y = -1; y <= h; ++y) {
        for (int x = -1; x <= w; ++x) {
            glm::vec2 st = surfaceAt(first.x + x, first.y + y);
            heights[static_cast<std::size_t>((y + 1) * (w + 2) + x + 1)] = armadillo::reliefHeight(part, st.x, st.y);
        }
    }
    auto heightAt = [&](int x, int y) { return heights[static_cast<std::size_t>((y + 1) * (w + 2) + x + 1)]; };
    // Model units per texel along u and v on this part.
    glm::vec2 texel = region.extent / ((inner1 - inner0) * float(mapSize));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float dhdu = (heightAt(x + 1, y) - heightAt(x - 1, y)) * armadillo::reliefDepth / (2.0f * texel.x);
            float dhdv = (heightAt(x, y + 1) - heightAt(x, y - 1)) * armadillo::reliefDepth / (2.0f * texel.y);
            const glm::vec3 normal = glm::normalize(glm::vec3(-dhdu, -dhdv, 1.0f));
            relief.heights.fromBottom(first.x + x, first.y + y) = heightAt(x, y);
            relief.normals.fromBottom(first.x + x, first.y + y) = glm::vec4(normal * 0.5f + 0.5f, 1.0f);
        }
    }
}
} // namespace

bool bakeArmadilloRelief(const std::filesystem::path& textureDir)
{
    // Baked at the full surface detail, so a little less than the best JPEG
    // quality loses nothing that shows.
    constexpr JpegCoding coding{.quality = 95};
    Relief relief;
    for (int p = 0; p < armadillo::partCount; ++p) {
        bakePart(relief, static_cast<armadillo::Part>(p));
    }
    bool ok = writeJpegRgb(relief.normals, textureDir / "sampledNormals.jpg", coding);
    return writeJpegGrey(relief.heights, textureDir / "sampledDisplacement.jpg", coding) && ok;
}
