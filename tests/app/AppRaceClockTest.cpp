// The race inside the whole application on its race clock: whether frames
// come 500 times a second, twice a second or at random, the race reaches
// the same state at the same race time, bit for bit.
#include "AppFrameTestSupport.h"

#include "render/Light.h"
#include "vehicles/Car.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <random>

namespace {

// What the race is at one moment: whatever a frame rate could change.
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
    out << "t=" << state.raceTime << " car 1 at (" << state.carModels[0][3].x << ", " << state.carModels[0][3].z
        << ") speed " << state.speeds[0] << ", car 2 at (" << state.carModels[1][3].x << ", "
        << state.carModels[1][3].z << ") speed " << state.speeds[1] << ", stones at";
    for (double time : state.stoneTakenAt) {
        out << ' ' << time;
    }
    out << ", light 3 (" << state.sceneLightColor.r << ", " << state.sceneLightColor.g << ")";
    return out;
}

constexpr std::array<double, 4> checkTimes = {30.0, 60.0, 90.0, 130.0};

} // namespace

class AppRaceClock : public AppFrame {
protected:
    // Runs one race from its start with frames from nextFrame, cut short so
    // that the frames add up exactly to each check time, and notes the state
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
        double shown = 0.0; // frame time so far
        for (double checkTime : checkTimes) {
            while (shown < checkTime) {
                const double frame = std::min(nextFrame(), checkTime - shown);
                shown = frame == checkTime - shown ? checkTime : shown + frame;
                app->advance(frame, noteStones);
            }
            state.raceTime = app->raceTime;
            for (int p = 0; p < 2; ++p) {
                const Car& car = *app->players[p]->getCar();
                state.carModels[p] = *car.modelMatrix;
                state.speeds[p] = *car.speed;
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

    // The race as it should be: stones taken, the closing light scene under way.
    ASSERT_EQ(reference.size(), checkTimes.size());
    for (std::size_t i = 0; i < checkTimes.size(); ++i) {
        EXPECT_NEAR(reference[i].raceTime, checkTimes[i], 1e-9);
    }
    for (double takenAt : reference.back().stoneTakenAt) {
        EXPECT_GT(takenAt, 0.0) << "a stone was still on the course at 130 s";
    }
    EXPECT_LT(reference.back().sceneLightColor.r, 0.5f) << "light 3 had not faded by 130 s";
    EXPECT_NE(reference[0].carModels, reference[1].carModels);

    struct Rate {
        const char* name;
        std::function<double()> next;
    };
    std::mt19937 random(20261208u);
    std::uniform_real_distribution<double> logSeconds(std::log(0.001), std::log(1.0));
    const Rate rates[] = {
        {"1/500 s", every(1.0 / 500.0)},
        {"1/5 s", every(0.2)},
        {"1/2 s", every(0.5)},
        {"irregular, 1 ms to 1 s", [&] { return std::exp(logSeconds(random)); }},
    };
    for (const Rate& rate : rates) {
        const std::vector<RaceState> states = raceWith(rate.next);
        for (std::size_t i = 0; i < checkTimes.size(); ++i) {
            EXPECT_EQ(states[i], reference[i]) << "frames every " << rate.name << ", at " << checkTimes[i] << " s";
        }
    }
}

TEST_F(AppRaceClock, FramesLongerThanASecondSlowTheRaceDownWithoutChangingIt)
{
    const RaceState reference = raceWith([] { return 0.5; }).front();
    std::srand(7);
    app->restart();
    // Frames of 3 s: each runs one second of race, so 30 s of race take 30 frames.
    int frames = 0;
    while (app->raceTime < 30.0 - 1e-9) {
        app->advance(3.0);
        ++frames;
    }
    EXPECT_EQ(frames, 30);
    EXPECT_EQ(*app->players[0]->getCar()->modelMatrix, reference.carModels[0]);
    EXPECT_EQ(*app->players[1]->getCar()->speed, reference.speeds[1]);
}
