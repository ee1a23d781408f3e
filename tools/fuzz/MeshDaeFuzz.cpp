// A Collada model (as brimbolt/models/tyre.DAE), imported through Mesh.
#include "MeshImportFuzz.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    meshfuzz::keepTexturesAway();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzScratch scratch;
    const std::string path = scratch.write("model.DAE", {reinterpret_cast<const char*>(data), size});
    meshfuzz::importAndCheck(path, size);
    return 0;
}
