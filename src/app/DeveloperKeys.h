#pragma once

class KeyTest;
class Music;

namespace platform {
class Window;
}

// The developer keys that switch rendering features and sound, each reported
// with one console line after the change.
class DeveloperKeys {
public:
    explicit DeveloperKeys(Music& music) : music(music) {}

    // Tests F2 to F5 and F7 to F9 in that order and acts on each that fired.
    void poll(const platform::Window& window, KeyTest& keys);
    // The action of one developer key (a GLFW key code); other keys do nothing.
    void act(int key);

private:
    Music& music;
};
