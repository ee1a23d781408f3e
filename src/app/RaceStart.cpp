#include "app/RaceStart.h"

#include "app/AppMain.h"
#include "render/Geometry.h"
#include "vehicles/Car.h"
#include "vehicles/Player.h"
#include "vehicles/Wheel.h"

void RaceStart::capture(const AppMain& app, double firstStepSeconds, unsigned musicMilliseconds)
{
    random = RandomState::capture();
    turningPieces.clear();
    for (const Geometry* piece : app.turningPieces()) {
        turningPieces.emplace_back(*piece->modelMatrix, *piece->inverseModelMatrix);
    }
    for (std::size_t i = 0; i < cars.size(); ++i) {
        const Car& car = *app.players[i]->getCar();
        cars[i] = {car.wheels->spin, car.wheels->spinInverse, car.wheels->steeringAngle,
                   car.smoke ? car.smoke->state() : Smoke::State{}};
        const Explosion* burst = app.players[i]->getExplosion();
        bursts[i] = burst ? burst->state() : Explosion::State{};
    }
    musicMs = musicMilliseconds;
    firstStep = firstStepSeconds;
}

void RaceStart::restore(AppMain& app) const
{
    random.restore();
    const auto pieces = app.turningPieces();
    for (std::size_t i = 0; i < pieces.size() && i < turningPieces.size(); ++i) {
        *pieces[i]->modelMatrix = turningPieces[i].first;
        *pieces[i]->inverseModelMatrix = turningPieces[i].second;
        // A step of no movement brings the bounds and shadow matrices along.
        pieces[i]->applyTransform(glm::mat4(1.0f), glm::mat4(1.0f));
    }
    for (std::size_t i = 0; i < cars.size(); ++i) {
        Car& car = *app.players[i]->getCar();
        car.wheels->spin = cars[i].spin;
        car.wheels->spinInverse = cars[i].spinInverse;
        car.wheels->steeringAngle = cars[i].steeringAngle;
        if (car.smoke) {
            car.smoke->setState(cars[i].smoke);
        }
        if (Explosion* burst = app.players[i]->getExplosion()) {
            burst->setState(bursts[i]);
        }
    }
}
