#include "ResidentMemory.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

long residentMemoryKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            long kib = -1;
            if (fields >> kib) {
                return kib;
            }
        }
    }
    static bool told = false;
    if (!told) {
        std::fprintf(stderr, "brimbolt_soak: cannot read VmRSS from /proc/self/status\n");
        told = true;
    }
    return -1;
}
