#include "support/ScratchDir.h"

#include <fstream>
#include <random>
#include <unistd.h>

ScratchDir::ScratchDir(const std::string& prefix)
{
    std::random_device seed;
    root = std::filesystem::temp_directory_path() /
           (prefix + "_" + std::to_string(::getpid()) + "_" + std::to_string(seed()));
    std::filesystem::create_directories(root);
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

std::filesystem::path ScratchDir::write(const std::string& relativePath, const std::string& text) const
{
    std::filesystem::path file = root / relativePath;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << text;
    return file;
}
