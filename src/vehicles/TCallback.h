#pragma once

#include "vehicles/Callback.h"

#include <cstdint>
#include <cstdio>

// A Callback bound to a member function of an object of type T (a Car or a
// Player). Unbound it is harmless: a call only prints a complaint.
template <typename T>
class TCallback final : public Callback {
public:
    using Function = void (T::*)(std::int32_t);

    TCallback() = default;
    TCallback(T* object, Function function) : object(object), function(function) {}

    void call(std::int32_t argument) override
    {
        if (function) {
            (object->*function)(argument);
            return;
        }
        std::fputs("ERROR : the callback function has not been defined !!!!", stdout);
    }

    T* object = nullptr;          // not owned: the receiver
    Function function = nullptr; // empty while unbound
};
