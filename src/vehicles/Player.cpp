#include "vehicles/Player.h"

#include "effects/Explosion.h"
#include "vehicles/Car.h"
#include "vehicles/TCallback.h"

Player::Player(const std::string& name)
    : name(name),
      car(new Car()),
      callback(new TCallback<Player>())
{
}

Player::~Player()
{
    delete explosion;
    explosion = nullptr;
    delete callback;
    delete car;
}

void Player::setExplosion(Explosion* effect)
{
    if (explosion != effect) {
        delete explosion;
    }
    explosion = effect;
}
