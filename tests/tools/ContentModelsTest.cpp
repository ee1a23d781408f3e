// The generated models, loaded through the program's own import and measured
// where the scene places them: what stands on the floor touches it, the cars
// roll on their wheels, and the turning pieces never cut into anything.
#include "ContentModelSupport.h"
#include "ContentPlacements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace contenttest;

namespace {

// Resting on a surface: close enough that no gap or sunken base shows.
constexpr float restTolerance = 0.02f;

struct ModelLoad {
    const char* file;
    bool withTangents;
};

// Every model file the program asks for, with the tangent flag it passes.
const std::vector<ModelLoad> programLoads{
    {"room3_recolored.obj", false}, {"room3_reduced.obj", false},      {"car3.obj", false},
    {"car4.obj", false},            {"tyre.DAE", false},               {"pigLow.obj", false},
    {"stoneWall2.obj", true},       {"torus.obj", true},               {"plane_reduced.obj", false},
    {"armadilloNormalMap.obj", true}, {"armadilloNormalMap.obj", false}, {"podest.obj", false},
    {"stoneG.obj", false},          {"stoneY.obj", false},             {"stoneR.obj", false},
};

bool isFinite(const glm::vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool isUnitLength(const glm::vec3& v)
{
    return isFinite(v) && std::abs(glm::length(v) - 1.0f) < 0.01f;
}

std::size_t trianglesWithoutTextureArea(const Mesh& mesh)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        const glm::vec2 t0 = mesh.vertices[mesh.indices[i]].texCoord;
        const glm::vec2 e1 = mesh.vertices[mesh.indices[i + 1]].texCoord - t0;
        const glm::vec2 e2 = mesh.vertices[mesh.indices[i + 2]].texCoord - t0;
        count += std::abs(e1.x * e2.y - e2.x * e1.y) < 1e-10f ? 1 : 0;
    }
    return count;
}

} // namespace

TEST(ContentModels, EveryModelLoadsWithUsableVerticesAndIndices)
{
    for (const ModelLoad& load : programLoads) {
        SCOPED_TRACE(std::string(load.file) + (load.withTangents ? " with tangents" : ""));
        ASSERT_TRUE(isLoaded(load.file, load.withTangents));
        const Mesh& mesh = model(load.file, load.withTangents);

        ASSERT_EQ(mesh.indices.size(), mesh.indexCount);
        EXPECT_GT(mesh.indices.size(), 0u);
        EXPECT_EQ(mesh.indices.size() % 3, 0u);
        for (std::uint32_t index : mesh.indices) {
            ASSERT_LT(index, mesh.vertices.size());
        }
        ASSERT_EQ(mesh.entries.size(), mesh.entryCount);
        for (const MeshEntity& entry : mesh.entries) {
            EXPECT_GT(entry.numIndices, 0u) << "an empty sub-mesh";
            EXPECT_LE(entry.baseIndex + entry.numIndices, mesh.indices.size());
        }

        // A zero or broken normal renders as a black or flickering spot.
        int badPositions = 0;
        int badNormals = 0;
        for (const MeshVertex& vertex : mesh.vertices) {
            badPositions += isFinite(glm::vec3(vertex.position)) ? 0 : 1;
            badNormals += isUnitLength(vertex.normal) ? 0 : 1;
        }
        EXPECT_EQ(badPositions, 0);
        EXPECT_EQ(badNormals, 0) << "of " << mesh.vertices.size() << " vertices";

        if (load.withTangents) {
            ASSERT_EQ(mesh.tangents.size(), mesh.vertices.size());
            int badTangents = 0;
            for (std::size_t i = 0; i < mesh.tangents.size(); ++i) {
                badTangents += isUnitLength(mesh.tangents[i]) && isUnitLength(mesh.bitangents[i]) ? 0 : 1;
            }
            EXPECT_EQ(badTangents, 0) << "of " << mesh.tangents.size() << " vertices";
            // The import quietly makes up a tangent where texture coordinates
            // span no area, and the relief then runs the wrong way there.
            EXPECT_EQ(trianglesWithoutTextureArea(mesh), 0u) << "of " << mesh.indices.size() / 3 << " triangles";
        }
    }
}

TEST(ContentModels, TyreIsRoundAboutAnAxleAlongX)
{
    ASSERT_TRUE(isLoaded("tyre.DAE"));
    const Mesh& tyre = model("tyre.DAE");
    const Box box = boxOf(tyre.boundingBox);
    EXPECT_NEAR(box.upper.y, wheelRadius, 0.005f);
    EXPECT_NEAR(box.lower.y, -wheelRadius, 0.005f);
    EXPECT_NEAR(box.upper.z, wheelRadius, 0.005f);
    EXPECT_NEAR(box.lower.z, -wheelRadius, 0.005f);
    // Thinner across than high: the axle, and so the rolling, is along x.
    const float width = box.upper.x - box.lower.x;
    EXPECT_GT(width, 0.1f);
    EXPECT_LT(width, wheelRadius);
    EXPECT_NEAR(box.upper.x + box.lower.x, 0.0f, 0.01f) << "the hub is not at the origin";
    // Round, not square: no corner of the tread reaches past the radius.
    EXPECT_NEAR(farthestFromAxis(tyre, {1, 0, 0}), wheelRadius, 0.005f);
}

TEST(ContentModels, CarsRollOnTheirWheelsOnTheFloor)
{
    ASSERT_TRUE(isLoaded("tyre.DAE"));
    const float tyreRadius = model("tyre.DAE").boundingBox.upper.y;
    for (const CarPlacement& car : carPlacements) {
        SCOPED_TRACE(car.body);
        ASSERT_TRUE(isLoaded(car.body));
        const Box body = boxOf(model(car.body).boundingBox);
        for (const glm::vec3& offset : car.wheelOffsets) {
            SCOPED_TRACE(testing::Message() << "wheel at " << offset.x << ", " << offset.y << ", " << offset.z);
            EXPECT_NEAR(car.start.y + offset.y - tyreRadius, floorTop, 0.05f) << "the tyre misses the floor";
            // The wheel sits under the body and reaches up into it.
            EXPECT_GE(offset.x, body.lower.x);
            EXPECT_LE(offset.x, body.upper.x);
            EXPECT_GE(offset.z, body.lower.z);
            EXPECT_LE(offset.z, body.upper.z);
            EXPECT_GT(offset.y + tyreRadius, body.lower.y);
        }
        EXPECT_GT(car.start.y + body.lower.y, floorTop) << "the body scrapes the floor";
        // Nor do the wheels hang below it: the body comes down to about the axles.
        float highestAxle = -INFINITY;
        for (const glm::vec3& offset : car.wheelOffsets) {
            highestAxle = std::max(highestAxle, offset.y);
        }
        EXPECT_LT(body.lower.y, highestAxle + 0.25f * tyreRadius) << "the body floats above its wheels";
        EXPECT_LT(car.start.y + body.upper.y, floorTop + carClearance) << "the roof is taller than the course allows";
        // The smoke leaves from the body, not from the air beside it.
        const Box exhaustReach{body.lower - glm::vec3(0.25f), body.upper + glm::vec3(0.25f)};
        EXPECT_TRUE(contains(exhaustReach, Box{car.exhaustPoint, car.exhaustPoint})) << "body " << body;
    }
}

TEST(ContentModels, ShowPiecesStandOnTheFloor)
{
    ASSERT_TRUE(isLoaded("pigLow.obj"));
    EXPECT_NEAR(model("pigLow.obj").boundingBox.lower.y, 0.0f, restTolerance) << "the pig's feet are not at 0";
    for (const ShowPiece& piece : showPieces()) {
        if (!piece.onFloor) {
            continue;
        }
        SCOPED_TRACE(piece.name);
        ASSERT_TRUE(isLoaded(piece.file, piece.withTangents));
        const Box space = placed(boxOf(model(piece.file, piece.withTangents).boundingBox), piece.placement);
        EXPECT_NEAR(space.lower.y, floorTop, restTolerance);
    }
}

TEST(ContentModels, ArmadillosStandOnThePedestalTops)
{
    ASSERT_TRUE(isLoaded("podest.obj"));
    ASSERT_TRUE(isLoaded("armadilloNormalMap.obj"));
    const Mesh& pedestal = model("podest.obj");
    const Mesh& armadillo = model("armadilloNormalMap.obj");
    EXPECT_NEAR(pedestal.boundingBox.lower.y, -0.1f, restTolerance);
    EXPECT_NEAR(pedestal.boundingBox.upper.y, 0.25f, restTolerance);
    EXPECT_NEAR(armadillo.boundingBox.lower.y, 0.0f, restTolerance) << "the armadillo's feet are not at 0";

    // Placed with the same x, z and scale, the pedestal's top meets the armadillo's feet.
    const float pedestalTop = -0.5f + 2.0f * pedestal.boundingBox.upper.y;
    const float armadilloFeet = 0.0f + 2.0f * armadillo.boundingBox.lower.y;
    EXPECT_NEAR(pedestalTop, 0.0f, restTolerance);
    EXPECT_NEAR(armadilloFeet, pedestalTop, restTolerance);

    // Every foot stands on the top face, not beside it. The pair turns in
    // step, so model space tells it for every moment.
    float topRadius = 0.0f;
    for (const MeshVertex& vertex : pedestal.vertices) {
        if (vertex.position.y >= pedestal.boundingBox.upper.y - 0.005f) {
            topRadius = std::max(topRadius, std::hypot(vertex.position.x, vertex.position.z));
        }
    }
    int feetOverTheEdge = 0;
    int feet = 0;
    for (const MeshVertex& vertex : armadillo.vertices) {
        if (vertex.position.y <= armadillo.boundingBox.lower.y + 0.01f) {
            ++feet;
            feetOverTheEdge += std::hypot(vertex.position.x, vertex.position.z) > topRadius ? 1 : 0;
        }
    }
    EXPECT_GT(feet, 0);
    EXPECT_EQ(feetOverTheEdge, 0) << "top face radius " << topRadius;
}

TEST(ContentModels, TorusClearsTheFloorAtEveryTurn)
{
    ASSERT_TRUE(isLoaded("torus.obj", true));
    // Spinning about two axes it comes round every way: its reach is the
    // farthest vertex from its centre, at half size. (The imported bounding
    // sphere is taken around the box and overstates a flat ring by 40 %.)
    const float reach = 0.5f * farthestFromOrigin(model("torus.obj", true));
    EXPECT_LT(reach, 3.0f - floorTop);
    EXPECT_GT(reach, 0.5f) << "too small to make out";
}

TEST(ContentModels, StonesHoverJustAboveTheFloorWithinTheirSquare)
{
    for (const char* file : stoneModels) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(isLoaded(file));
        const Mesh& stone = model(file);
        // Placed at y = 0: clear of the floor, low enough for a car to run into.
        EXPECT_GE(stone.boundingBox.lower.y, floorTop);
        EXPECT_LE(stone.boundingBox.lower.y, floorTop + 0.5f);
        EXPECT_LT(stone.boundingBox.upper.y, floorTop + carClearance);
        // The spin sweeps no more than the course square kept free for it.
        EXPECT_LT(farthestFromAxis(stone, {0, 1, 0}), courseMargin);
    }
}
