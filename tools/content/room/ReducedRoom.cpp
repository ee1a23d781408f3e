#include "room/ReducedRoom.h"

#include "room/Furniture.h"
#include "room/RoomMaterials.h"
#include "room/RoomMeshHelpers.h"
#include "room/RoomShell.h"

namespace room {

MeshBuilder buildReducedRoom()
{
    using namespace furniture;
    const RoomMaterials& m = roomMaterials();
    MeshBuilder mesh;
    addShellSurfaces(mesh);
    addRug(mesh);
    addDoor(mesh, false);
    addWindow(mesh, false);

    // Sofa: seat block and back block.
    mesh.useMaterial(m.sofa);
    constexpr float fabricUv = 1.0f / 8.0f;
    addMappedBox(mesh, sofaLower, {sofaUpper.x, sofaSeatTop, sofaUpper.z}, fabricUv);
    addMappedBox(mesh, {sofaUpper.x - sofaBackDepth, sofaSeatTop, sofaLower.z},
                 {sofaUpper.x, sofaUpper.y - 1.0f, sofaUpper.z}, fabricUv);

    // Table top only, and the bookshelf as one box.
    mesh.useMaterial(m.wood);
    constexpr float woodUv = 1.0f / 20.0f;
    addMappedBox(mesh, {tableLower.x, tableUpper.y - tableTopThickness, tableLower.z}, tableUpper, woodUv);
    addMappedBox(mesh, shelfLower, shelfUpper, woodUv);
    return mesh;
}

} // namespace room
