#pragma once

#include <string>

class Car;
class Explosion;
template <typename T>
class TCallback;

// One of the two racers: a name, the car its movement script drives, the
// explosion its car sets off at a taken stone, and an event hook that
// nothing binds yet.
class Player {
public:
    // Creates the car and an unbound callback; the explosion comes later,
    // from content loading, since it needs the GL.
    explicit Player(const std::string& name);
    // Needs a current context once the car or the explosion holds GL objects.
    virtual ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    const std::string& getName() const { return name; }
    Car* getCar() const { return car; }
    TCallback<Player>* getCallback() const { return callback; }
    // Null until content loading creates it.
    Explosion* getExplosion() const { return explosion; }
    // Takes the explosion over; a previous one is deleted.
    void setExplosion(Explosion* effect);

private:
    std::string name;
    Car* const car;                    // owned
    TCallback<Player>* const callback; // owned
    Explosion* explosion = nullptr;    // owned, may be null
};
