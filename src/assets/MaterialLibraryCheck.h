#pragma once

#include <assimp/DefaultIOSystem.h>

#include <string>
#include <string_view>

// The file system Mesh::loadMesh lets the importer read through. Every file
// the importer opens besides the model itself is an OBJ's material library,
// and one that Assimp (5.2) would not survive is not handed over: one that
// sets a material property before its first "newmtl" (Assimp writes it into
// a material that does not exist yet and crashes), and one of one to seven
// bytes or one that cannot be read, such as a folder (Assimp throws past its
// own clean-up and leaks the open file). The
// first library refused is remembered, so that the model can be refused with
// a console line instead.
class MaterialLibraryCheck : public Assimp::DefaultIOSystem {
public:
    explicit MaterialLibraryCheck(std::string modelPath);

    Assimp::IOStream* Open(const char* file, const char* mode = "rb") override;

    // Empty while every library opened so far was handed over.
    const std::string& problem() const { return firstProblem; }

    // Empty when Assimp reads the library text safely, else what is wrong.
    static std::string problemIn(std::string_view text);

private:
    std::string modelPath;
    std::string firstProblem;
};
