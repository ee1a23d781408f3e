#pragma once

#include <string>

// True when the file can be opened for reading.
bool fileExists(const std::string& path);

// The whole file as text; empty when it cannot be read.
std::string readFile(const std::string& path);
