// The generated models, loaded through the program's own import and measured
// where the scene places them: what stands touches the floor, the cars roll
// on their wheels, and nothing on the course or on show cuts into the room's
// furniture or into anything else, at any moment of its turning.
#include "ContentSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace contenttest;

namespace {

constexpr const char* roomFile = "room3_recolored.obj";
constexpr float restTolerance = 0.02f; // close enough that no gap or sunken base shows

// Every model file the program asks for, with the tangent flag it passes.
const std::vector<std::pair<const char*, bool>> programLoads{
    {"room3_recolored.obj", false}, {"room3_reduced.obj", false}, {"car3.obj", false},
    {"car4.obj", false},            {"tyre.DAE", false},          {"pigLow.obj", false},
    {"stoneWall2.obj", true},       {"torus.obj", true},          {"plane_reduced.obj", false},
    {"armadilloNormalMap.obj", true}, {"armadilloNormalMap.obj", false}, {"podest.obj", false},
    {"stoneG.obj", false},          {"stoneY.obj", false},        {"stoneR.obj", false},
};

// The room's floor: the largest sub-mesh lying flat at the room's lowest height.
const MeshEntity* findFloor(const Mesh& room)
{
    const MeshEntity* floor = nullptr;
    float floorArea = 0.0f;
    for (const MeshEntity& entry : room.entries) {
        const float area = (entry.box.upper.x - entry.box.lower.x) * (entry.box.upper.z - entry.box.lower.z);
        const bool flatAtTheBottom = entry.box.upper.y - entry.box.lower.y < 0.001f &&
                                     entry.box.lower.y - room.boundingBox.lower.y < 0.001f;
        if (flatAtTheBottom && area > floorArea) {
            floor = &entry;
            floorArea = area;
        }
    }
    return floor;
}

// Where the first triangle of the room inside the space lies; empty if none does.
std::string roomObstacleIn(const Mesh& room, const Box& space)
{
    for (std::size_t i = 0; i + 2 < room.indices.size(); i += 3) {
        const std::array<glm::vec3, 3> triangle{glm::vec3(room.vertices[room.indices[i]].position),
                                                glm::vec3(room.vertices[room.indices[i + 1]].position),
                                                glm::vec3(room.vertices[room.indices[i + 2]].position)};
        if (triangleTouchesBox(triangle, space)) {
            return "a triangle at " + testing::PrintToString(triangle[0].x) + ", " +
                   testing::PrintToString(triangle[0].y) + ", " + testing::PrintToString(triangle[0].z);
        }
    }
    return "";
}

struct Space {
    std::string name;
    Box box;
    glm::vec3 origin;
};

// The car starts (with the whole body, which is longer than the square), the
// stones and the show pieces, each with all the space it may take up.
std::vector<Space> courseAndShowPieces()
{
    std::vector<Space> spaces;
    for (const CarPlacement& car : carPlacements) {
        const Box body = placed(boxOf(model(car.body).boundingBox), translation(car.start.x, car.start.y, car.start.z));
        const Box square = courseSpace(car.start);
        spaces.push_back({std::string("start of ") + car.body,
                          {glm::min(square.lower, body.lower), glm::max(square.upper, body.upper)}, car.start});
    }
    for (const glm::vec3& stone : stonePositions) {
        spaces.push_back({"stone at " + testing::PrintToString(stone.x) + ", " + testing::PrintToString(stone.z),
                          courseSpace(stone), stone});
    }
    for (const ShowPiece& piece : showPieces()) {
        spaces.push_back({piece.name, occupiedSpace(piece), glm::vec3(piece.placement[3])});
    }
    return spaces;
}

} // namespace

class ContentModels : public testing::Test {
protected:
    void SetUp() override
    {
        for (const auto& [file, withTangents] : programLoads) {
            ASSERT_FALSE(model(file, withTangents).vertices.empty()) << file << " did not load";
        }
    }
};

TEST_F(ContentModels, EveryModelLoadsAsTrianglesWithUnitNormals)
{
    for (const auto& [file, withTangents] : programLoads) {
        SCOPED_TRACE(file);
        const Mesh& mesh = model(file, withTangents);
        EXPECT_EQ(mesh.indices.size() % 3, 0u);
        // A zero or broken normal renders as a black or flickering spot.
        int badNormals = 0;
        for (const MeshVertex& vertex : mesh.vertices) {
            badNormals += std::abs(glm::length(vertex.normal) - 1.0f) < 0.01f ? 0 : 1;
        }
        EXPECT_EQ(badNormals, 0) << "of " << mesh.vertices.size() << " vertices";
    }
}

TEST_F(ContentModels, RoomFloorLiesFlatAtFloorHeightUnderTheWholeRoom)
{
    const Mesh& room = model(roomFile);
    EXPECT_NEAR(room.boundingBox.lower.y, floorTop, 0.001f) << "something of the room reaches below the floor";
    const MeshEntity* floor = findFloor(room);
    ASSERT_NE(floor, nullptr) << "no flat sub-mesh at the bottom of the room";
    EXPECT_NEAR(floor->box.upper.y, floorTop, 0.001f);
    EXPECT_GE(floor->box.upper.x - floor->box.lower.x, 0.9f * (room.boundingBox.upper.x - room.boundingBox.lower.x));
    EXPECT_GE(floor->box.upper.z - floor->box.lower.z, 0.9f * (room.boundingBox.upper.z - room.boundingBox.lower.z));
}

TEST_F(ContentModels, TyreIsRoundAboutAnAxleAlongX)
{
    const Mesh& tyre = model("tyre.DAE");
    const Box box = boxOf(tyre.boundingBox);
    for (int axis : {1, 2}) {
        EXPECT_NEAR(box.upper[axis], wheelRadius, 0.005f) << "axis " << axis;
        EXPECT_NEAR(box.lower[axis], -wheelRadius, 0.005f) << "axis " << axis;
    }
    // Thinner across than high: the axle, and so the rolling, is along x.
    EXPECT_GT(box.upper.x - box.lower.x, 0.1f);
    EXPECT_LT(box.upper.x - box.lower.x, wheelRadius);
    EXPECT_NEAR(box.upper.x + box.lower.x, 0.0f, 0.01f) << "the hub is not at the origin";
    EXPECT_NEAR(farthestFrom(tyre, {1, 0, 0}), wheelRadius, 0.005f) << "the tread is not round";
}

TEST_F(ContentModels, CarsStandOnTheirWheelsOnTheFloor)
{
    const float tyreRadius = model("tyre.DAE").boundingBox.upper.y;
    for (const CarPlacement& car : carPlacements) {
        SCOPED_TRACE(car.body);
        const Box body = boxOf(model(car.body).boundingBox);
        for (const glm::vec3& offset : car.wheelOffsets) {
            SCOPED_TRACE(testing::Message() << "wheel at " << offset.x << ", " << offset.z);
            EXPECT_NEAR(car.start.y + offset.y - tyreRadius, floorTop, 0.05f) << "the tyre misses the floor";
            // Under the body, not beside it.
            EXPECT_TRUE(offset.x >= body.lower.x && offset.x <= body.upper.x) << "body " << body;
            EXPECT_TRUE(offset.z >= body.lower.z && offset.z <= body.upper.z) << "body " << body;
        }
        EXPECT_GT(car.start.y + body.lower.y, floorTop) << "the body scrapes the floor";
    }
}

TEST_F(ContentModels, ShowPiecesAndStonesRestOnTheFloorOrClearIt)
{
    EXPECT_NEAR(model("pigLow.obj").boundingBox.lower.y, 0.0f, restTolerance) << "the pig's feet are not at 0";
    for (const ShowPiece& piece : showPieces()) {
        SCOPED_TRACE(piece.name);
        // The torus, spinning about two axes, comes round every way.
        const float lowest = occupiedSpace(piece).lower.y;
        if (piece.onFloor) {
            EXPECT_NEAR(lowest, floorTop, restTolerance);
        } else {
            EXPECT_GT(lowest, floorTop);
        }
    }
    for (const char* file : stoneModels) {
        SCOPED_TRACE(file);
        const Mesh& stone = model(file);
        // Placed at y = 0: clear of the floor, low enough for a car to run into,
        // and its spin sweeps no more than the square kept free for it.
        EXPECT_GE(stone.boundingBox.lower.y, floorTop);
        EXPECT_LE(stone.boundingBox.lower.y, floorTop + 0.5f);
        EXPECT_LT(farthestFrom(stone, {0, 1, 0}), courseMargin);
    }
}

TEST_F(ContentModels, ArmadillosStandOnThePedestalTops)
{
    const Mesh& pedestal = model("podest.obj");
    const Mesh& armadillo = model("armadilloNormalMap.obj");
    // Each pedestal's top meets the feet of the armadillo above it.
    const std::array<roomLayout::Placement, 2> armadillos{roomLayout::reliefArmadillo, roomLayout::plainArmadillo};
    for (std::size_t i = 0; i < armadillos.size(); ++i) {
        const roomLayout::Placement& under = roomLayout::pedestals[i];
        const roomLayout::Placement& above = armadillos[i];
        EXPECT_EQ(under.position.x, above.position.x);
        EXPECT_EQ(under.position.z, above.position.z);
        EXPECT_EQ(under.scale, above.scale) << "the pair would not turn in step";
        EXPECT_NEAR(under.position.y + under.scale * pedestal.boundingBox.upper.y,
                    above.position.y + above.scale * armadillo.boundingBox.lower.y, restTolerance);
    }

    // Every foot stands on the top face, not beside it; the pair turns in step.
    float topRadius = 0.0f;
    for (const MeshVertex& vertex : pedestal.vertices) {
        if (vertex.position.y >= pedestal.boundingBox.upper.y - 0.005f) {
            topRadius = std::max(topRadius, std::hypot(vertex.position.x, vertex.position.z));
        }
    }
    int feet = 0;
    int feetOverTheEdge = 0;
    for (const MeshVertex& vertex : armadillo.vertices) {
        if (vertex.position.y <= armadillo.boundingBox.lower.y + 0.01f) {
            ++feet;
            feetOverTheEdge += std::hypot(vertex.position.x, vertex.position.z) > topRadius ? 1 : 0;
        }
    }
    EXPECT_GT(feet, 0);
    EXPECT_EQ(feetOverTheEdge, 0) << "top face radius " << topRadius;
}

TEST_F(ContentModels, CourseAndShowPiecesLieInsideTheRoomClearOfFurnitureAndOfEachOther)
{
    const Mesh& room = model(roomFile);
    const MeshEntity* floor = findFloor(room);
    ASSERT_NE(floor, nullptr);
    const Box interior{{floor->box.lower.x, floorTop, floor->box.lower.z},
                       {floor->box.upper.x, room.boundingBox.upper.y, floor->box.upper.z}};
    const std::vector<Space> spaces = courseAndShowPieces();
    for (std::size_t a = 0; a < spaces.size(); ++a) {
        SCOPED_TRACE(testing::Message() << spaces[a].name << " " << spaces[a].box);
        EXPECT_TRUE(contains(interior, spaces[a].box)) << "room " << interior;
        // What rests on the floor touches it; only what is above counts.
        Box above = spaces[a].box;
        above.lower.y = std::max(above.lower.y, floorTop + 0.02f);
        EXPECT_EQ(roomObstacleIn(room, above), "");
        // Apart from one another, except an armadillo on its own pedestal.
        for (std::size_t b = a + 1; b < spaces.size(); ++b) {
            const glm::vec3 offset = spaces[a].origin - spaces[b].origin;
            if (std::abs(offset.x) > 0.001f || std::abs(offset.z) > 0.001f) {
                EXPECT_FALSE(overlaps(spaces[a].box, spaces[b].box)) << "overlaps " << spaces[b].name;
            }
        }
    }
}
