#pragma once

// The sound bank's slots by what they hold; the numbers are their places in
// the bank. Slots 5 to 7 and 9 to 13 stay empty.
enum class SoundSlot : int {
    Music = 0,    // the background music, looping
    PowerUp1 = 1, // the other power-up sounds: loaded, not played by the race
    PickUp = 2,   // a car takes a stone
    PowerUp3 = 3,
    PowerUp4 = 4,
    Hit = 8,
    Engine1 = 14, // the engines of players 1 to 4, looping, pitched by speed
    Engine2 = 15,
    Engine3 = 16,
    Engine4 = 17,
};

// Player index's engine (0 for player 1).
constexpr SoundSlot engineSlot(int index)
{
    return static_cast<SoundSlot>(static_cast<int>(SoundSlot::Engine1) + index);
}
