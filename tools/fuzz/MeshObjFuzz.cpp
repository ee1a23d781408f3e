// A Wavefront model with its material library beside it, as the program's
// models are stored (brimbolt/models/*.obj and *.mtl), imported through Mesh.
// The input is the OBJ text, then a line "#mtl", then the MTL text; the seeds'
// OBJ parts name the library "model.mtl". Without the separator there is no
// library beside the model.
#include "MeshImportFuzz.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

constexpr std::string_view separator = "\n#mtl\n";

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    meshfuzz::keepTexturesAway();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzScratch scratch;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find(separator);
    if (split == std::string_view::npos) {
        scratch.remove("model.mtl");
        scratch.write("model.obj", input);
    } else {
        // The OBJ part keeps its line feed: Assimp reads a last line without one differently.
        scratch.write("model.obj", input.substr(0, split + 1));
        scratch.write("model.mtl", input.substr(split + separator.size()));
    }
    meshfuzz::importAndCheck(scratch.path("model.obj"), size);
    return 0;
}
