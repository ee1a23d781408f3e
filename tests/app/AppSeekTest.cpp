// A seek runs the race again from its start at the fixed step: it lands on
// exactly what a straight run reaches at that time, forwards, backwards and
// into the next race, and nothing is heard or told again.
#include "AppFrameTestSupport.h"

#include "app/ViewerControls.h"

#include "effects/Explosion.h"
#include "effects/Smoke.h"
#include "render/Light.h"
#include "scene/CameraPath.h"
#include "sound/Channel.h"
#include "sound/Music.h"
#include "support/CapturedOutput.h"
#include "vehicles/Car.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"
#include "vehicles/Wheel.h"

#include <cstring>
#include <vector>

namespace {

// Everything of the race a seek must put back, copied bit for bit.
struct Snapshot {
    double raceTime = 0.0;
    std::vector<float> numbers; // matrices, speeds, colours, particles
    std::vector<int> flags;     // stones taken, sparks alive

    bool operator==(const Snapshot& other) const
    {
        return raceTime == other.raceTime && flags == other.flags && numbers.size() == other.numbers.size() &&
               std::memcmp(numbers.data(), other.numbers.data(), numbers.size() * sizeof(float)) == 0;
    }
};

template <typename Value>
void add(std::vector<float>& numbers, const Value& value)
{
    const float* first = reinterpret_cast<const float*>(&value);
    numbers.insert(numbers.end(), first, first + sizeof(Value) / sizeof(float));
}

Snapshot snapshot(const AppMain& app)
{
    Snapshot s;
    s.raceTime = app.raceTime;
    for (const Player* player : app.players) {
        const Car& car = *player->getCar();
        add(s.numbers, *car.modelMatrix);
        add(s.numbers, *car.speed);
        add(s.numbers, car.cameraLag);
        add(s.numbers, car.wheels->spin);
        add(s.numbers, car.wheels->steeringAngle);
        for (const Particle& puff : car.smoke->particles) {
            add(s.numbers, puff.position);
            add(s.numbers, puff.color);
        }
        const Explosion& burst = *player->getExplosion();
        s.flags.push_back(burst.aliveCount);
        for (const ExplosionParticle& spark : burst.particles) {
            add(s.numbers, spark.position);
        }
    }
    for (const EnergyStone* stone : app.energyStones) {
        add(s.numbers, *stone->modelMatrix);
        s.flags.push_back(stone->collected ? 1 : 0);
    }
    for (const Geometry* piece : app.turningPieces()) {
        add(s.numbers, *piece->modelMatrix);
    }
    add(s.numbers, *app.lights[2]->modelMatrix);
    add(s.numbers, app.lights[2]->color());
    return s;
}

} // namespace

TEST_F(AppFrame, ASeekLandsOnWhatAStraightRunReachesAndRepeatsNoPickUp)
{
    constexpr double frame = 1.0 / 30.0;
    // A race that never gets there (a clock that does not run) fails rather than hangs.
    auto runTo = [](double time) {
        for (int frames = 0; app->raceTime < time - 1e-9; ++frames) {
            ASSERT_LT(frames, 10000) << "the race never reached " << time << " s";
            app->advance(frame);
        }
    };
    std::srand(11);
    app->restart();
    runTo(20.0);
    const Snapshot at20 = snapshot(*app);
    runTo(40.0);
    const Snapshot at40 = snapshot(*app);
    runTo(60.0);

    FMOD::Channel* lastPickUp = app->music->channel(SoundSlot::PickUp);
    ASSERT_NE(lastPickUp, nullptr) << "no stone was taken by 60 s";
    const std::string told = printedBy([] { app->seek(40.0); });
    EXPECT_EQ(told, "") << "a seek told a pick-up again";
    EXPECT_EQ(app->music->channel(SoundSlot::PickUp), lastPickUp) << "a seek played a pick-up sound again";
    EXPECT_TRUE(snapshot(*app) == at40) << "seek forwards-and-back to 40 s";
    app->seek(20.0);
    EXPECT_TRUE(snapshot(*app) == at20) << "seek back to 20 s";

    // The music stands where the race puts it, not where the seek began:
    // three seconds further into the race is three seconds further into it.
    auto musicSeconds = [] {
        unsigned milliseconds = 0;
        app->music->channel(SoundSlot::Music)->getPosition(&milliseconds);
        return milliseconds / 1000.0;
    };
    const double musicAt20 = musicSeconds();
    app->seek(23.0);
    const double musicAt23 = musicSeconds();
    app->seek(20.0);
    const double moved = musicAt23 - musicAt20;
    EXPECT_NEAR(moved < 0.0 ? moved + 64.026 : moved, 3.0, 0.15) << "the music file is 64.03 s long";

    // Into the next race: a straight run from here and a seek from its start agree.
    const double end = app->cameraPath->endTime;
    runTo(end);
    for (int frames = 0; app->raceTime > 1.0; ++frames) {
        ASSERT_LT(frames, 1000) << "the race did not start over";
        app->advance(frame);
    }
    runTo(5.0);
    const Snapshot nextRace = snapshot(*app);
    app->seek(2.0);
    // The new race began within a frame, so its frames do not end on whole seconds.
    app->seek(nextRace.raceTime);
    EXPECT_TRUE(snapshot(*app) == nextRace) << "a race the update started";
}

// Space holds the race and everything heard with it, and lets both go on.
TEST_F(AppFrame, PauseHoldsTheRaceAndItsSound)
{
    ViewerControls viewer;
    std::srand(11);
    app->restart();
    app->advance(1.0);
    const std::string told = printedBy([&] { viewer.act(*app, GLFW_KEY_SPACE, false); });
    EXPECT_EQ(told, "Pause: on at 1.000 s\n");
    EXPECT_EQ(viewer.raceSeconds(0.5), 0.0);
    EXPECT_TRUE(app->music->isPaused());
    bool held = false;
    app->music->channel(SoundSlot::Engine1)->getPaused(&held);
    EXPECT_TRUE(held) << "the first engine drones on under a paused race";

    printedBy([&] { viewer.act(*app, GLFW_KEY_SPACE, false); });
    EXPECT_EQ(viewer.raceSeconds(0.5), 0.5);
    EXPECT_FALSE(app->music->isPaused());
    app->music->channel(SoundSlot::Music)->getPaused(&held);
    EXPECT_FALSE(held);
}
