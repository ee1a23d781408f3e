#include "assets/MaterialLibraryCheck.h"

#include <assimp/IOStream.hpp>

#include <algorithm>
#include <cstddef>
#include <utility>

MaterialLibraryCheck::MaterialLibraryCheck(std::string modelPath) : modelPath(std::move(modelPath)) {}

Assimp::IOStream* MaterialLibraryCheck::Open(const char* file, const char* mode)
{
    Assimp::IOStream* stream = DefaultIOSystem::Open(file, mode);
    if (!stream || modelPath == file) {
        return stream;
    }
    // A name that is a folder opens too, and then gives no bytes: Assimp
    // throws on that past its own clean-up, as on a library too short.
    std::string text(stream->FileSize(), '\0');
    const bool complete = stream->Read(text.data(), 1, text.size()) == text.size();
    stream->Seek(0, aiOrigin_SET);
    const std::string problem = complete ? problemIn(text) : "cannot be read";
    if (problem.empty()) {
        return stream;
    }
    Close(stream);
    if (firstProblem.empty()) {
        firstProblem = "material library " + std::string(file) + ": " + problem;
    }
    return nullptr;
}

std::string MaterialLibraryCheck::problemIn(std::string_view text)
{
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    // Assimp's own line ends; it drops a UTF-8 byte order mark before reading.
    constexpr std::string_view lineEnds("\r\n\f\0", 4);
    constexpr std::size_t longestQuote = 24;
    // Assimp throws on a library of one to seven bytes before it closes the
    // file again, which leaks the open file and fails the whole model.
    constexpr std::size_t smallestLibrary = 8;
    if (!text.empty() && text.size() < smallestLibrary) {
        return "shorter than 8 bytes";
    }
    if (text.starts_with(byteOrderMark)) {
        text.remove_prefix(byteOrderMark.size());
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of(lineEnds, start), text.size());
        std::string_view line = text.substr(start, end - start);
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        if (line.starts_with("newmtl")) {
            return {};
        }
        if (!line.empty() && !line.starts_with('#')) {
            const std::string_view word = line.substr(0, std::min(line.find_first_of(" \t"), longestQuote));
            return "\"" + std::string(word) + "\" before the first newmtl";
        }
        start = end + 1;
    }
    return {};
}
