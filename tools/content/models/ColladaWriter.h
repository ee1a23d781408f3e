#pragma once

#include "common/MeshBuilder.h"

#include <filesystem>

// Writes the builder's triangles as COLLADA 1.4 (Y up, metres), one geometry
// and one node per material so that an importer gives one sub-mesh each. Every
// number is printed with fixed precision and nothing carries a date, so equal
// input gives equal bytes. False (with a message) when the file fails.
bool writeCollada(const MeshBuilder& mesh, const std::filesystem::path& path);
