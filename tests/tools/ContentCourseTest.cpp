// The room and what stands in it, measured together: the course (car starts
// and stones) and the show pieces lie inside the room, on its floor, clear of
// every piece of furniture and of each other.
#include "ContentModelSupport.h"
#include "ContentPlacements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

using namespace contenttest;

namespace {

constexpr const char* roomFile = "room3_recolored.obj";
constexpr const char* reducedRoomFile = "room3_reduced.obj";

// The room's floor: the sub-mesh lying flat at the lowest height of the room.
const MeshEntity* findFloor(const Mesh& room)
{
    const MeshEntity* floor = nullptr;
    float floorArea = 0.0f;
    for (const MeshEntity& entry : room.entries) {
        const Box box = boxOf(entry.box);
        const float area = (box.upper.x - box.lower.x) * (box.upper.z - box.lower.z);
        const bool flatAtTheBottom = box.upper.y - box.lower.y < 0.001f &&
                                     box.lower.y - room.boundingBox.lower.y < 0.001f;
        if (flatAtTheBottom && area > floorArea) {
            floor = &entry;
            floorArea = area;
        }
    }
    return floor;
}

struct Obstacle {
    std::size_t entry;
    std::array<glm::vec3, 3> triangle;
};

// The first triangle of the room inside the space, if any.
std::optional<Obstacle> roomObstacleIn(const Mesh& room, const Box& space)
{
    for (std::size_t entry = 0; entry < room.entries.size(); ++entry) {
        const MeshEntity& slice = room.entries[entry];
        for (std::uint32_t i = 0; i < slice.numIndices; i += 3) {
            const std::array<glm::vec3, 3> triangle = triangleAt(room, slice.baseIndex + i);
            if (triangleTouchesBox(triangle, space)) {
                return Obstacle{entry, triangle};
            }
        }
    }
    return std::nullopt;
}

std::string describe(const std::optional<Obstacle>& obstacle)
{
    if (!obstacle) {
        return "nothing";
    }
    const glm::vec3& p = obstacle->triangle[0];
    return testing::PrintToString(obstacle->entry) + ". sub-mesh of the room, a triangle at (" +
           testing::PrintToString(p.x) + ", " + testing::PrintToString(p.y) + ", " + testing::PrintToString(p.z) +
           ")";
}

Box bodyAtStart(const CarPlacement& car)
{
    return placed(boxOf(model(car.body).boundingBox), translation(car.start.x, car.start.y, car.start.z));
}

struct CoursePoint {
    std::string name;
    Box space;
};

// The car starts (with the whole body, which is longer than the square) and the stones.
std::vector<CoursePoint> coursePoints()
{
    std::vector<CoursePoint> points;
    for (const CarPlacement& car : carPlacements) {
        points.push_back({std::string("start of ") + car.body, united(courseSpace(car.start), bodyAtStart(car))});
    }
    for (const glm::vec3& stone : stonePositions) {
        points.push_back({"stone at " + testing::PrintToString(stone.x) + ", " + testing::PrintToString(stone.z),
                          courseSpace(stone)});
    }
    return points;
}

} // namespace

class ContentCourse : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(isLoaded(roomFile));
        for (const CarPlacement& car : carPlacements) {
            ASSERT_TRUE(isLoaded(car.body));
        }
        for (const ShowPiece& piece : showPieces()) {
            ASSERT_TRUE(isLoaded(piece.file, piece.withTangents));
        }
    }

    const Mesh& room = model(roomFile);
};

TEST_F(ContentCourse, RoomFloorLiesFlatAtFloorHeightUnderTheWholeRoom)
{
    EXPECT_NEAR(room.boundingBox.lower.y, floorTop, 0.001f) << "something of the room reaches below the floor";
    const MeshEntity* floor = findFloor(room);
    ASSERT_NE(floor, nullptr) << "no flat sub-mesh at the bottom of the room";
    EXPECT_NEAR(floor->box.upper.y, floorTop, 0.001f);
    const Box all = boxOf(room.boundingBox);
    EXPECT_GE(floor->box.upper.x - floor->box.lower.x, 0.9f * (all.upper.x - all.lower.x));
    EXPECT_GE(floor->box.upper.z - floor->box.lower.z, 0.9f * (all.upper.z - all.lower.z));
}

TEST_F(ContentCourse, CourseAndShowPiecesLieInsideTheRoom)
{
    const MeshEntity* floor = findFloor(room);
    ASSERT_NE(floor, nullptr);
    const Box interior{{floor->box.lower.x, floorTop, floor->box.lower.z},
                       {floor->box.upper.x, room.boundingBox.upper.y, floor->box.upper.z}};
    for (const CoursePoint& point : coursePoints()) {
        EXPECT_TRUE(contains(interior, point.space)) << point.name << ": " << point.space << " room " << interior;
    }
    for (const ShowPiece& piece : showPieces()) {
        const Box space = occupiedSpace(piece);
        EXPECT_TRUE(contains(interior, space)) << piece.name << ": " << space << " room " << interior;
    }
}

TEST_F(ContentCourse, NothingOfTheRoomStandsOnTheCourse)
{
    for (const CoursePoint& point : coursePoints()) {
        EXPECT_EQ(describe(roomObstacleIn(room, point.space)), "nothing") << point.name << " " << point.space;
    }
}

TEST_F(ContentCourse, ShowPiecesStandClearOfTheRoomsFurniture)
{
    for (const ShowPiece& piece : showPieces()) {
        Box space = occupiedSpace(piece);
        // What rests on the floor touches it; only what is above counts.
        space.lower.y = std::max(space.lower.y, floorTop + 0.02f);
        EXPECT_EQ(describe(roomObstacleIn(room, space)), "nothing") << piece.name << " " << space;
    }
}

TEST_F(ContentCourse, CourseAndShowPiecesKeepOutOfEachOthersWay)
{
    const std::vector<ShowPiece> pieces = showPieces();
    const std::vector<CoursePoint> points = coursePoints();
    for (const ShowPiece& piece : pieces) {
        for (const CoursePoint& point : points) {
            EXPECT_FALSE(overlaps(occupiedSpace(piece), point.space)) << piece.name << " stands on " << point.name;
        }
    }
    // Pieces apart from one another, except an armadillo on its own pedestal.
    for (std::size_t a = 0; a < pieces.size(); ++a) {
        for (std::size_t b = a + 1; b < pieces.size(); ++b) {
            const glm::vec3 offset = glm::vec3(pieces[a].placement[3]) - glm::vec3(pieces[b].placement[3]);
            const bool stacked = std::abs(offset.x) < 0.001f && std::abs(offset.z) < 0.001f;
            if (!stacked) {
                EXPECT_FALSE(overlaps(occupiedSpace(pieces[a]), occupiedSpace(pieces[b])))
                    << pieces[a].name << " and " << pieces[b].name;
            }
        }
    }
    // The two cars start side by side without touching.
    const Box firstBody = bodyAtStart(carPlacements[0]);
    const Box secondBody = bodyAtStart(carPlacements[1]);
    EXPECT_FALSE(overlaps(firstBody, secondBody)) << firstBody << " and " << secondBody;
}

TEST_F(ContentCourse, ReducedRoomKeepsTheFullRoomsShell)
{
    ASSERT_TRUE(isLoaded(reducedRoomFile));
    const Mesh& reduced = model(reducedRoomFile);
    // The reflections show the reduced room: walls, floor and ceiling in the same place.
    const Box full = boxOf(room.boundingBox);
    const Box shell = boxOf(reduced.boundingBox);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(shell.lower[axis], full.lower[axis], 0.01f) << "axis " << axis;
        EXPECT_NEAR(shell.upper[axis], full.upper[axis], 0.01f) << "axis " << axis;
    }
    const MeshEntity* floor = findFloor(reduced);
    ASSERT_NE(floor, nullptr);
    EXPECT_NEAR(floor->box.upper.y, floorTop, 0.001f);
    // Drawn six times into the cube every frame, so it has to be much lighter.
    EXPECT_LT(reduced.indices.size() * 10, room.indices.size());
}
