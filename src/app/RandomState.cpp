#include "app/RandomState.h"

#include <cstdlib>
#include <cstring>

namespace {

// Makes a scratch table current and returns the table rand() used until
// then, into which the C library has just written its position. The caller
// must make that table current again with setstate.
template <std::size_t size>
char* stepAside(std::array<char, size>& scratch)
{
    return initstate(1, scratch.data(), size);
}

} // namespace

RandomState RandomState::capture()
{
    std::array<char, tableSize> scratch{};
    char* live = stepAside(scratch);
    RandomState state;
    std::memcpy(state.table.data(), live, tableSize);
    setstate(live);
    return state;
}

void RandomState::restore() const
{
    std::array<char, tableSize> scratch{};
    char* live = stepAside(scratch);
    std::memcpy(live, table.data(), tableSize);
    // Reads the position back from the table as well.
    setstate(live);
}
