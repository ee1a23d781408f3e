#pragma once

#include <array>
#include <cstddef>

// The state of the C library's rand(), kept and put back, so that a race can
// be run again from its start with the very draws it had: the stones'
// headings, the smoke and the sparks all draw from rand. The GNU C library
// keeps rand()'s state in the table that initstate and setstate manage; it is
// copied out and back in while a scratch table is current for a moment.
class RandomState {
public:
    // The state as it is now; the draws go on as if nothing had happened.
    static RandomState capture();
    // From now on rand() draws what it drew after the capture.
    void restore() const;

    bool operator==(const RandomState& other) const = default;

private:
    // rand()'s own table: the position word and 31 words of state.
    static constexpr std::size_t tableSize = 128;
    std::array<char, tableSize> table{};
};
