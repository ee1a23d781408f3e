#include "app/KeyTest.h"

bool KeyTest::fired(int key, bool downNow)
{
    bool& pressed = pressedSinceLastFire[key];
    if (downNow) {
        pressed = true;
        return false;
    }
    bool fires = pressed;
    pressed = false;
    return fires;
}
