#pragma once

#include <cstdint>

// An event hook with one 32-bit argument, bound to a member function by
// TCallback.
class Callback {
public:
    virtual void call(std::int32_t argument) = 0;

protected:
    // Owners hold and delete the concrete TCallback, never this base, so the
    // destructor need not be virtual; protected keeps anyone from trying.
    ~Callback() = default;
};
