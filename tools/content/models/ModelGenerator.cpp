#include "ContentGenerators.h"
#include "models/ColladaWriter.h"
#include "models/Models.h"
#include "models/TextureHandedness.h"

#include <cstdio>
#include <string>

namespace {
// One line per file, so a build log shows that each piece has the size and
// place that its placement in the scene expects.
void report(const MeshBuilder& mesh, const char* file)
{
    glm::vec3 lo = mesh.lowerBound(), hi = mesh.upperBound();
    std::printf("  %-24s %6zu triangles, (%.2f %.2f %.2f) .. (%.2f %.2f %.2f)\n", file, mesh.triangleCount(), lo.x,
                lo.y, lo.z, hi.x, hi.y, hi.z);
}

bool writeModel(const MeshBuilder& mesh, const std::filesystem::path& dir, const char* name)
{
    report(mesh, (std::string(name) + ".obj").c_str());
    return mesh.writeObj(dir, name);
}

// The three models drawn with relief maps.
bool writeReliefModel(const MeshBuilder& mesh, const std::filesystem::path& dir, const char* name)
{
    bool ok = checkTextureHandedness(mesh, name);
    return writeModel(mesh, dir, name) && ok;
}
} // namespace

bool generateModels(const std::filesystem::path& modelDir, const std::filesystem::path& textureDir)
{
    std::printf("Models:\n");
    bool ok = writeModel(buildRoadster(), modelDir, "car3");
    ok = writeModel(buildBuggy(), modelDir, "car4") && ok;
    MeshBuilder tyre = buildTyre();
    report(tyre, "tyre.DAE");
    ok = writeCollada(tyre, modelDir / "tyre.DAE") && ok;

    ok = writeModel(buildPig(), modelDir, "pigLow") && ok;
    ok = writeReliefModel(buildStoneWall(), modelDir, "stoneWall2") && ok;
    ok = writeReliefModel(buildTorus(), modelDir, "torus") && ok;
    ok = writeModel(buildAeroplane(), modelDir, "plane_reduced") && ok;
    ok = writeReliefModel(buildArmadillo(), modelDir, "armadilloNormalMap") && ok;
    ok = bakeArmadilloRelief(textureDir) && ok;
    ok = writeModel(buildPedestal(), modelDir, "podest") && ok;

    ok = writeModel(buildGem({0.10f, 0.85f, 0.25f}, "GreenGem", 8), modelDir, "stoneG") && ok;
    ok = writeModel(buildGem({1.00f, 0.82f, 0.10f}, "YellowGem", 6), modelDir, "stoneY") && ok;
    ok = writeModel(buildGem({0.95f, 0.10f, 0.12f}, "RedGem", 10), modelDir, "stoneR") && ok;
    return ok;
}
