#pragma once

// One control of a car, as a bit of a movement script's flags.
enum class Control : int {
    Accelerate = 1,
    Brake = 2, // brake, or reverse once stopped
    SteerLeft = 4,
    SteerRight = 8,
};

// The controls held at one moment: a movement script line's flags, whose
// other bits mean nothing.
class Controls {
public:
    constexpr Controls() = default;
    constexpr explicit Controls(int flags) : bits(flags) {}

    constexpr bool has(Control control) const { return (bits & static_cast<int>(control)) != 0; }
    constexpr Controls& operator|=(Control control)
    {
        bits |= static_cast<int>(control);
        return *this;
    }
    // As a script line writes them.
    constexpr int flags() const { return bits; }

    friend constexpr bool operator==(Controls, Controls) = default;

private:
    int bits = 0;
};
