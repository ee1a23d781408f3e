#include "ImportBenchmark.h"

#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "scene/Camera.h"
#include "scene/ViewFrustum.h"
#include "settings/Settings.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A wavy grid of gridSize² quads with texture coordinates: 2·gridSize² triangles.
std::filesystem::path writeGrid(int gridSize)
{
    std::filesystem::path path = std::filesystem::temp_directory_path() / "brimbolt_import_benchmark.obj";
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        return {};
    }
    for (int z = 0; z <= gridSize; ++z) {
        for (int x = 0; x <= gridSize; ++x) {
            float height = 0.2f * std::sin(x * 0.3f) * std::cos(z * 0.2f);
            std::fprintf(file, "v %d %.4f %d\nvt %.4f %.4f\n", x, height, z, x / 8.0f, z / 8.0f);
        }
    }
    auto index = [gridSize](int x, int z) { return z * (gridSize + 1) + x + 1; };
    for (int z = 0; z < gridSize; ++z) {
        for (int x = 0; x < gridSize; ++x) {
            int a = index(x, z), b = index(x + 1, z), c = index(x + 1, z + 1), d = index(x, z + 1);
            std::fprintf(file, "f %d/%d %d/%d %d/%d\nf %d/%d %d/%d %d/%d\n", a, a, d, d, c, c, a, a, c, c, b, b);
        }
    }
    std::fclose(file);
    return path;
}

void benchmarkImport()
{
    const int gridSize = 224; // 2 · 224² = 100,352 triangles
    std::filesystem::path path = writeGrid(gridSize);
    if (path.empty()) {
        std::printf("import: cannot write the test model\n");
        return;
    }
    const int runs = 3;
    double total = 0.0;
    std::size_t triangles = 0;
    for (int run = 0; run < runs; ++run) {
        Mesh mesh;
        Clock::time_point start = Clock::now();
        mesh.loadMesh(path.string(), true);
        total += millisecondsSince(start);
        triangles = mesh.indexCount / 3;
    }
    std::filesystem::remove(path);
    std::printf("import: %zu-triangle OBJ with tangents: %.1f ms (mean of %d)\n", triangles, total / runs, runs);
}

void benchmarkFrustum()
{
    Camera camera;
    camera.translate(0.0f, 5.0f, 20.0f);
    camera.rotateY(30.0f);
    std::mt19937 random(7);
    auto coordinate = [&random](float range) { return (random() / float(std::mt19937::max()) - 0.5f) * range; };
    std::vector<BoundingSphere> spheres;
    const int count = 100000;
    spheres.reserve(count);
    for (int i = 0; i < count; ++i) {
        BoundingSphere sphere(glm::vec3(coordinate(400.0f), coordinate(100.0f), coordinate(400.0f)),
                              1.0f + coordinate(4.0f));
        spheres.push_back(sphere);
    }
    Clock::time_point start = Clock::now();
    int visible = 0;
    for (const BoundingSphere& sphere : spheres) {
        visible += camera.frustum->isSphereVisible(sphere) ? 1 : 0;
    }
    double elapsed = millisecondsSince(start);
    std::printf("frustum: %d sphere tests: %.2f ms (%.1f ns each, %d visible)\n", count, elapsed,
                elapsed * 1e6 / count, visible);
}

} // namespace

void runImportBenchmark()
{
    benchmarkImport();
    benchmarkFrustum();
    TextureManager::getInstance()->releaseGLObjects();
}
