// The generated models, loaded through the program's own import and measured
// where the scene places them: what stands touches the floor, the cars roll
// on their wheels, and nothing on the course or on show leaves the room or
// cuts into anything else, at any moment of its turning. (The route tool's
// check keeps the cars' course clear of the furniture.)
#include "assets/Mesh.h"
#include "scene/RoomLayout.h"
#include "support/AssetFiles.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

// --- The generated models as the program loads them, where the scene places
// them, and the world-space, axis-aligned boxes the checks use ---
using roomLayout::floorTop;
constexpr float wheelRadius = 0.41f;
constexpr float carClearance = 2.5f; // free height wherever a car drives
constexpr float courseMargin = 1.5f; // half the free square around a course point

std::string modelPath(const std::string& fileName)
{
    // The program's folder names are relative to bin/.
    return std::string(BRIMBOLT_SOURCE_DIR) + "/bin/" + roomLayout::modelFolder + fileName;
}

// Each file is imported once per process. The texture manager looks in an
// empty folder meanwhile, so no image is found and no GL context is needed.
// An empty mesh means the import failed.
const Mesh& model(const std::string& fileName, bool withTangents = false)
{
    static std::map<std::pair<std::string, bool>, std::unique_ptr<Mesh>> cache;
    std::unique_ptr<Mesh>& slot = cache[{fileName, withTangents}];
    if (!slot) {
        slot = std::make_unique<Mesh>();
        assettest::AssetFolder noTextures;
        printedBy([&] { slot->loadMesh(modelPath(fileName), withTangents); });
    }
    return *slot;
}

struct Box {
    glm::vec3 lower{0.0f};
    glm::vec3 upper{0.0f};
};

std::ostream& operator<<(std::ostream& out, const Box& box)
{
    return out << "(" << box.lower.x << ", " << box.lower.y << ", " << box.lower.z << ") .. (" << box.upper.x
               << ", " << box.upper.y << ", " << box.upper.z << ")";
}

Box boxOf(const BoundingBox& box) { return {box.lower, box.upper}; }

// The world box around a model-space box carried by a placement.
Box placed(const Box& box, const glm::mat4& placement)
{
    Box result{glm::vec3(std::numeric_limits<float>::max()), glm::vec3(std::numeric_limits<float>::lowest())};
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec3 local((corner & 1) ? box.upper.x : box.lower.x, (corner & 2) ? box.upper.y : box.lower.y,
                              (corner & 4) ? box.upper.z : box.lower.z);
        const glm::vec3 world(placement * glm::vec4(local, 1.0f));
        result.lower = glm::min(result.lower, world);
        result.upper = glm::max(result.upper, world);
    }
    return result;
}

bool overlaps(const Box& a, const Box& b)
{
    return glm::all(glm::lessThanEqual(a.lower, b.upper)) && glm::all(glm::lessThanEqual(b.lower, a.upper));
}

bool contains(const Box& outer, const Box& inner)
{
    return glm::all(glm::lessThanEqual(outer.lower, inner.lower)) &&
           glm::all(glm::lessThanEqual(inner.upper, outer.upper));
}

// Farthest vertex from a line through the model origin (a zero axis: from the
// origin itself): the radius of what a piece sweeps while it turns.
float farthestFrom(const Mesh& mesh, const glm::vec3& axis)
{
    const glm::vec3 direction = axis == glm::vec3(0.0f) ? axis : glm::normalize(axis);
    float farthest = 0.0f;
    for (const MeshVertex& vertex : mesh.vertices) {
        const glm::vec3 p(vertex.position);
        farthest = std::max(farthest, glm::length(p - direction * glm::dot(p, direction)));
    }
    return farthest;
}

// --- Where the scene puts the models (content loading and race restart) ---

glm::mat4 translation(float x, float y, float z) { return glm::translate(glm::mat4(1.0f), {x, y, z}); }

// A placement as the scene applies it: moved, turned about y, rolled about z, scaled.
glm::mat4 matrixOf(const roomLayout::Placement& placement)
{
    const glm::vec3& p = placement.position;
    const glm::mat4 turned = glm::rotate(glm::mat4(1.0f), glm::radians(placement.yawDegrees), {0, 1, 0});
    const glm::mat4 rolled = glm::rotate(glm::mat4(1.0f), glm::radians(placement.rollDegrees), {0, 0, 1});
    return translation(p.x, p.y, p.z) * turned * rolled * glm::scale(glm::mat4(1.0f), glm::vec3(placement.scale));
}

struct CarPlacement {
    const char* body;
    glm::vec3 start;
    std::array<glm::vec3, 4> wheelOffsets; // wheel centres relative to the car's origin
};

const std::array<CarPlacement, 2> carPlacements{{
    {"car3.obj", roomLayout::carStarts[0], {{{-0.7f, -0.2f, -1.3f}, {0.7f, -0.2f, -1.3f}, {-0.7f, -0.2f, 0.6f},
                                          {0.7f, -0.2f, 0.6f}}}},
    {"car4.obj", roomLayout::carStarts[1], {{{-0.9f, -0.5f, -1.3f}, {0.7f, -0.5f, -1.3f}, {-0.9f, -0.5f, 1.3f},
                                          {0.7f, -0.5f, 1.3f}}}},
}};

using roomLayout::stonePositions;
const std::array<const char*, 3> stoneModels{"stoneG.obj", "stoneY.obj", "stoneR.obj"};

// Armadillos and pedestals spin about their own vertical axis; the torus
// about two axes, so in time any way round.
enum class Turning { None, AboutY, AnyWay };

struct ShowPiece {
    const char* name;
    const char* file;
    bool withTangents;
    glm::mat4 placement;
    Turning turning;
    bool onFloor; // the rest float or stand on a pedestal
};

std::vector<ShowPiece> showPieces()
{
    namespace layout = roomLayout;
    return {
        {"pig", "pigLow.obj", false, matrixOf(layout::pig), Turning::None, true},
        {"stone wall", "stoneWall2.obj", true, glm::mat4(1.0f), Turning::None, true},
        {"torus", "torus.obj", true, matrixOf(layout::torus), Turning::AnyWay, false},
        {"plane", "plane_reduced.obj", false, matrixOf(layout::plane), Turning::None, true},
        {"relief armadillo", "armadilloNormalMap.obj", true, matrixOf(layout::reliefArmadillo), Turning::AboutY,
         false},
        {"armadillo", "armadilloNormalMap.obj", false, matrixOf(layout::plainArmadillo), Turning::AboutY, false},
        {"pedestal at -30", "podest.obj", false, matrixOf(layout::pedestals[0]), Turning::AboutY, true},
        {"pedestal at -36", "podest.obj", false, matrixOf(layout::pedestals[1]), Turning::AboutY, true},
    };
}

// The world box a piece takes up at any moment of its turning (the
// placements scale uniformly, so one factor serves every axis).
Box occupiedSpace(const ShowPiece& piece)
{
    const Mesh& mesh = model(piece.file, piece.withTangents);
    const Box still = placed(boxOf(mesh.boundingBox), piece.placement);
    const glm::vec3 origin(piece.placement[3]);
    const float factor = glm::length(glm::vec3(piece.placement[0]));
    if (piece.turning == Turning::AboutY) {
        const float reach = factor * farthestFrom(mesh, {0, 1, 0});
        return {{origin.x - reach, still.lower.y, origin.z - reach}, {origin.x + reach, still.upper.y, origin.z + reach}};
    }
    if (piece.turning == Turning::AnyWay) {
        const glm::vec3 reach(factor * farthestFrom(mesh, {}));
        return {origin - reach, origin + reach};
    }
    return still;
}

// The space kept free around a point of the course, from just above the
// floor (so the floor and the rug do not count) up to the cars' height.
Box courseSpace(const glm::vec3& point)
{
    return {{point.x - courseMargin, floorTop + 0.02f, point.z - courseMargin},
            {point.x + courseMargin, floorTop + carClearance, point.z + courseMargin}};
}

// --- The checks ---

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

TEST_F(ContentModels, ShowPiecesAndStonesRestOnTheFloorOrTheirPedestalsOrClearIt)
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
    const Mesh& pedestal = model("podest.obj");
    const Mesh& armadillo = model("armadilloNormalMap.obj");
    // Each pedestal's top meets the feet of the armadillo above it, and the pair turns in step.
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
}

TEST_F(ContentModels, CourseAndShowPiecesLieInsideTheRoomClearOfEachOther)
{
    const Mesh& room = model(roomFile);
    EXPECT_NEAR(room.boundingBox.lower.y, floorTop, 0.001f) << "something of the room reaches below the floor";
    const MeshEntity* floor = findFloor(room);
    ASSERT_NE(floor, nullptr) << "no flat sub-mesh at the bottom of the room";
    EXPECT_NEAR(floor->box.upper.y, floorTop, 0.001f);
    const Box interior{{floor->box.lower.x, floorTop, floor->box.lower.z},
                       {floor->box.upper.x, room.boundingBox.upper.y, floor->box.upper.z}};
    const std::vector<Space> spaces = courseAndShowPieces();
    for (std::size_t a = 0; a < spaces.size(); ++a) {
        SCOPED_TRACE(testing::Message() << spaces[a].name << " " << spaces[a].box);
        EXPECT_TRUE(contains(interior, spaces[a].box)) << "room " << interior;
        // Apart from one another, except an armadillo on its own pedestal.
        for (std::size_t b = a + 1; b < spaces.size(); ++b) {
            const glm::vec3 offset = spaces[a].origin - spaces[b].origin;
            if (std::abs(offset.x) > 0.001f || std::abs(offset.z) > 0.001f) {
                EXPECT_FALSE(overlaps(spaces[a].box, spaces[b].box)) << "overlaps " << spaces[b].name;
            }
        }
    }
}
