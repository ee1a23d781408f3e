// The race inside the whole application on its race clock: whether frames
// come 500 times a second, once in three seconds or at random, the race
// reaches the same state at the same race time, bit for bit.
#include "AppFrameTestSupport.h"

#include "render/Light.h"
#include "vehicles/Car.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"

#include <array>
#include <cstring>
#include <functional>
#include <ostream>
#include <random>

namespace {

// What the race is at one moment: whatever a frame rate could change. (What
// goes on from race to race, the turning show pieces, the wheels' roll and
// the smoke, is left out: each race here starts where the one before ended.)
struct RaceState {
    double raceTime = 0.0;
    std::array<glm::mat4, 2> carModels{};
    std::array<float, 2> speeds{};
    std::array<double, 6> stoneTakenAt{}; // -1 while on the course
    glm::vec3 sceneLightColor{};

    bool operator==(const RaceState& other) const
    {
        // Bit for bit: the same race, not a close one.
        return std::memcmp(this, &other, sizeof(RaceState)) == 0;
    }
};

std::ostream& operator<<(std::ostream& out, const RaceState& state)
{
    return out << "t=" << state.raceTime << ", car 1 at (" << state.carModels[0][3].x << ", "
               << state.carModels[0][3].z << ") speed " << state.speeds[0] << ", stone 6 taken at "
               << state.stoneTakenAt[5] << ", light 3 red " << state.sceneLightColor.r;
}

constexpr std::array<double, 4> checkTimes = {30.0, 60.0, 90.0, 130.0};

} // namespace

class AppRaceClock : public AppFrame {
protected:
    // Runs one race from its start with frames from nextFrame, cut short so
    // that the race lands exactly on each check time, and notes the state
    // there. Nothing is drawn: the race cannot depend on it.
    template <typename NextFrame>
    std::vector<RaceState> raceWith(NextFrame nextFrame)
    {
        std::srand(7); // the stones' headings are drawn at the restart
        app->restart();
        RaceState state;
        state.stoneTakenAt.fill(-1.0);
        auto noteStones = [&](double) {
            for (std::size_t i = 0; i < state.stoneTakenAt.size(); ++i) {
                if (app->energyStones[i]->collected && state.stoneTakenAt[i] < 0.0) {
                    state.stoneTakenAt[i] = app->raceTime;
                }
            }
        };
        std::vector<RaceState> states;
        for (double checkTime : checkTimes) {
            for (int frames = 0; app->raceTime < checkTime - 1e-9; ++frames) {
                if (frames == 100000) {
                    ADD_FAILURE() << "the race stood still at " << app->raceTime << " s";
                    return states;
                }
                app->advance(std::min(nextFrame(), checkTime - app->raceTime), noteStones);
            }
            state.raceTime = app->raceTime;
            for (int p = 0; p < 2; ++p) {
                state.carModels[p] = *app->players[p]->getCar()->modelMatrix;
                state.speeds[p] = *app->players[p]->getCar()->speed;
            }
            state.sceneLightColor = app->lights[2]->color();
            states.push_back(state);
        }
        return states;
    }
};

TEST_F(AppRaceClock, TheRaceIsTheSameBitForBitAtAnyFrameRate)
{
    auto every = [](double seconds) { return [seconds] { return seconds; }; };
    const std::vector<RaceState> reference = raceWith(every(1.0 / 60.0));

    // The race as it should be at 130 s: every stone taken, light 3 fading.
    ASSERT_EQ(reference.size(), checkTimes.size());
    EXPECT_NEAR(reference.back().raceTime, checkTimes.back(), 1e-9);
    for (double takenAt : reference.back().stoneTakenAt) {
        EXPECT_GT(takenAt, 0.0);
    }
    EXPECT_LT(reference.back().sceneLightColor.r, 0.5f);

    std::mt19937 random(20261208u);
    std::uniform_real_distribution<double> logSeconds(std::log(0.001), std::log(1.0));
    // Frames of 3 s each run one second of race: a stalled machine sees the
    // race slow down, never another race.
    const std::pair<const char*, std::function<double()>> rates[] = {
        {"1/500 s", every(1.0 / 500.0)},
        {"1/5 s", every(0.2)},
        {"3 s", every(3.0)},
        {"irregular, 1 ms to 1 s", [&] { return std::exp(logSeconds(random)); }},
    };
    for (const auto& [name, next] : rates) {
        const std::vector<RaceState> states = raceWith(next);
        for (std::size_t i = 0; i < states.size(); ++i) {
            EXPECT_EQ(states[i], reference[i]) << "frames every " << name << ", at " << checkTimes[i] << " s";
        }
        EXPECT_EQ(states.size(), checkTimes.size());
    }
}
