#include "gl/TextFile.h"

#include <fstream>
#include <sstream>

bool fileExists(const std::string& path)
{
    std::ifstream file(path);
    return file.is_open();
}

std::string readFile(const std::string& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
