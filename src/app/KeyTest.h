#pragma once

#include <map>

// A command key fires once when it is let go: the first test after the release
// reports it and clears the mark, and a key held down never repeats. Sticky keys
// make a press and release between two tests show up as down, then up.
class KeyTest {
public:
    bool fired(int key, bool downNow);

private:
    std::map<int, bool> pressedSinceLastFire;
};
