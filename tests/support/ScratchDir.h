#pragma once

#include <filesystem>
#include <string>

// A fresh directory under the system's temporary folder, removed with the object.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix = "brimbolt_test");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return root; }
    // Writes text into a file below the directory and returns its path.
    std::filesystem::path write(const std::string& relativePath, const std::string& text) const;

private:
    std::filesystem::path root;
};
