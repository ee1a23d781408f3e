// The furnished room the race runs through, and its reduced twin for the
// reflective pig's environment cube, with every texture they name.
#include "ContentGenerators.h"

#include "room/Furniture.h"
#include "room/LayoutCheck.h"
#include "room/ReducedRoom.h"
#include "room/RoomMeshHelpers.h"
#include "room/RoomShell.h"
#include "room/RoomTextures.h"

#include <chrono>
#include <cstdio>

namespace {
// The files must stay light enough to load quickly (MeshBuilder writes every triangle's corners out).
constexpr std::size_t maxTriangles = 60000;

struct Piece {
    const char* name;
    MeshBuilder mesh;
    layout::Area area;
};

// The program draws the room's sub-meshes in the file's order with the depth
// test on, so the furniture, the trim and the rug go first and the floor,
// walls and ceiling behind them last: the depth test then turns away the
// covered parts of the shell before they are shaded, where in the opposite
// order every covered pixel was shaded twice.
bool buildFullRoom(MeshBuilder& mesh)
{
    bool ok = true;
    Piece pieces[] = {
        {"sofa", room::buildSofa(), layout::sofa},
        {"dining", room::buildDiningSet(), layout::tableAndChairs},
        {"bookshelf", room::buildBookshelf(), layout::bookshelf},
        {"lamp", room::buildFloorLamp(), layout::lamp},
    };
    for (const Piece& piece : pieces) {
        ok = room::checkPiece(piece.name, piece.mesh, piece.area) && ok;
        room::appendMesh(mesh, piece.mesh);
    }

    MeshBuilder rug;
    room::addRug(rug);
    ok = room::checkPiece("rug", rug, layout::rug) && ok;
    if (rug.upperBound().y > layout::rugTop + 1e-5f) {
        std::fprintf(stderr, "Room: the rug is not flat at its top height\n");
        ok = false;
    }
    room::appendMesh(mesh, rug);

    MeshBuilder trim;
    room::addTrim(trim);
    room::addDoor(trim, true);
    room::addWindow(trim, true);
    room::addCurtains(trim);
    room::addPaintings(trim);
    ok = room::checkClearOfCourse("trim", trim) && ok;
    room::appendMesh(mesh, trim);

    MeshBuilder shell;
    room::addShellSurfaces(shell);
    room::appendMesh(mesh, shell);
    using namespace room::furniture;
    std::printf("  under the table %.1f clear, legs %.1f apart; under the chairs %.1f clear, legs %.1f apart\n",
                tableClearHeight, tableLegGap, chairClearHeight, chairLegGap);
    return ok;
}

bool writeRoom(const MeshBuilder& mesh, const std::filesystem::path& dir, const char* name)
{
    bool ok = room::checkFacing(name, mesh);
    if (mesh.triangleCount() > maxTriangles) {
        std::fprintf(stderr, "Room: %s has %zu triangles, more than %zu\n", name, mesh.triangleCount(), maxTriangles);
        ok = false;
    }
    std::printf("  %s: %zu triangles in %zu materials\n", name, mesh.triangleCount(), mesh.materialGroups().size());
    return mesh.writeObj(dir, name) && ok;
}
} // namespace

bool generateRoom(const std::filesystem::path& modelDir, const std::filesystem::path& textureDir)
{
    const auto started = std::chrono::steady_clock::now();
    std::printf("Room:\n");
    bool ok = room::writeRoomTextures(textureDir);

    MeshBuilder full;
    ok = buildFullRoom(full) && ok;
    ok = writeRoom(full, modelDir, "room3_recolored") && ok;
    ok = writeRoom(room::buildReducedRoom(), modelDir, "room3_reduced") && ok;

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("  room written in %.2f s%s\n", seconds, ok ? "" : " with errors");
    return ok;
}
