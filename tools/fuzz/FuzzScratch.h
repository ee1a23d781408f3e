#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unistd.h>

// A private folder for the files one fuzz input becomes: the loaders read
// from disk, so each input is written out before it is read. It is made in
// $TMPDIR, else in /dev/shm (memory, so a million small writes never reach a
// disk), else in /tmp, and removed when the process ends normally.
class FuzzScratch {
public:
    FuzzScratch()
    {
        std::string pattern = baseFolder() + "/brimbolt_fuzz_XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot make a scratch folder from " + pattern);
        }
        root = pattern;
    }
    ~FuzzScratch()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    FuzzScratch(const FuzzScratch&) = delete;
    FuzzScratch& operator=(const FuzzScratch&) = delete;

    std::string path(const std::string& fileName) const { return (root / fileName).string(); }
    // The folder with a trailing '/', as the texture manager wants it.
    std::string folder() const { return root.string() + "/"; }

    // Replaces the file's contents with bytes and returns its path.
    std::string write(const std::string& fileName, std::string_view bytes) const
    {
        const std::string file = path(fileName);
        std::FILE* out = std::fopen(file.c_str(), "wb");
        if (!out) {
            throw std::runtime_error("cannot write " + file);
        }
        const bool complete = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        if (std::fclose(out) != 0 || !complete) {
            throw std::runtime_error("cannot write " + file);
        }
        return file;
    }

    void remove(const std::string& fileName) const { std::remove(path(fileName).c_str()); }

private:
    static std::string baseFolder()
    {
        if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) {
            return tmp;
        }
        if (::access("/dev/shm", W_OK) == 0) {
            return "/dev/shm";
        }
        return "/tmp";
    }

    std::filesystem::path root;
};
