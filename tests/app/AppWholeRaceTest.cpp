// Whole races through the real application with its sound mixed into memory
// instead of played: every stone is taken and heard, the first engine's pitch
// follows its car, and the race starts over once, right after its end.
#include "app/AppMain.h"
#include "app/Launch.h"
#include "effects/Explosion.h"
#include "scene/CameraPath.h"
#include "scene/RoomLayout.h"
#include "scene/SceneObject.h"
#include "settings/Settings.h"
#include "sound/Channel.h"
#include "sound/Music.h"
#include "sound/System.h"
#include "vehicles/Car.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"

#include <glm/glm.hpp>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr double frameStep = 1.0 / 60.0;
const char* const pickUpFile = "../brimbolt/music/powerup2.wav";
const char* const firstEngineFile = "../brimbolt/music/car1.wav";

// A sound file as mono samples, with its sample rate.
struct SoundFile {
    std::vector<float> samples;
    int rate = 0;
};

SoundFile readMono(const char* path)
{
    SoundFile result;
    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (!file) {
        return result;
    }
    std::vector<float> interleaved(static_cast<std::size_t>(info.frames * info.channels));
    sf_count_t frames = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    result.rate = info.samplerate;
    result.samples.resize(static_cast<std::size_t>(frames));
    for (sf_count_t i = 0; i < frames; ++i) {
        float sum = 0.0f;
        for (int c = 0; c < info.channels; ++c) {
            sum += interleaved[static_cast<std::size_t>(i * info.channels + c)];
        }
        result.samples[static_cast<std::size_t>(i)] = sum / static_cast<float>(info.channels);
    }
    return result;
}

// The mix as it comes out, interleaved stereo, with helpers to look at it.
struct Recording {
    std::vector<float> samples;
    std::size_t frames() const { return samples.size() / 2; }
    float mono(std::size_t frame) const { return samples[2 * frame] + samples[2 * frame + 1]; }

    // Root mean square of L + R over [first, first + count), clipped to what was recorded.
    double rms(std::size_t first, std::size_t count) const
    {
        const std::size_t last = std::min(first + count, frames());
        double sum = 0.0;
        for (std::size_t i = first; i < last; ++i) {
            sum += double(mono(i)) * mono(i);
        }
        return last > first ? std::sqrt(sum / double(last - first)) : 0.0;
    }

    // How strongly the pick-up sound is in the mix from about `start` on: the
    // least-squares gain of its waveform in L + R, at the best alignment
    // within `slack` frames either side. Music and engines hardly correlate
    // with it, so this is near 0 where it does not play and near the sound's
    // gain in the mix (about the same at every single play) where it does.
    struct Match {
        double gain = 0.0;
        long offset = 0;
    };
    Match match(const std::vector<float>& sound, std::size_t start, long slack) const
    {
        double soundEnergy = 0.0;
        for (float s : sound) {
            soundEnergy += double(s) * s;
        }
        Match best;
        for (long offset = -slack; offset <= slack; ++offset) {
            const long first = long(start) + offset;
            if (first < 0 || std::size_t(first) + sound.size() > frames()) {
                continue;
            }
            double dot = 0.0;
            for (std::size_t n = 0; n < sound.size(); ++n) {
                dot += double(mono(std::size_t(first) + n)) * sound[n];
            }
            const double gain = dot / soundEnergy;
            if (std::fabs(gain) > std::fabs(best.gain)) {
                best = {gain, offset};
            }
        }
        return best;
    }
};

float frequencyOf(FMOD::Channel* channel)
{
    float frequency = 0.0f;
    EXPECT_EQ(channel->getFrequency(&frequency), FMOD::FMOD_OK);
    return frequency;
}

// The whole application loaded once in a small window with its sound in
// capture mode, its engines started as the program entry starts them.
class AppWholeRace : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        previousDirectory = std::filesystem::current_path();
        std::filesystem::current_path(std::filesystem::path(BRIMBOLT_SOURCE_DIR) / "bin");
        LaunchOptions options;
        options.width = 320;
        options.height = 180;
        options.soundOutput = AppMain::SoundOutput::Capture;
        options.seed = 1;
        options.raceStep = RaceClock::defaultStep;
        app = launch(options).release();
        if (!app) {
            return;
        }
        ready = app->music->soundSystem()->getCaptureSampleRate(&sampleRate) == FMOD::FMOD_OK && sampleRate > 0;
    }

    static void TearDownTestSuite()
    {
        delete app;
        app = nullptr;
        std::filesystem::current_path(previousDirectory);
    }

    void SetUp() override
    {
        if (!ready) {
            GTEST_SKIP() << "no window (no display?) or no capture mix";
        }
        app->restart();
    }

    // Mixes the sound of the next `seconds` onto the end of the recording.
    // Whole frames are rendered and the remainder carried, so the recording
    // stays in step with the race clock however the steps divide the rate.
    void listen(double seconds)
    {
        owedFrames += seconds * sampleRate;
        const auto frames = static_cast<std::size_t>(owedFrames);
        owedFrames -= static_cast<double>(frames);
        const std::size_t first = recording.samples.size();
        recording.samples.resize(first + 2 * frames);
        ASSERT_EQ(app->music->soundSystem()->renderCapture(recording.samples.data() + first, static_cast<int>(frames)),
                  FMOD::FMOD_OK);
    }

    // One frame of the race on the race clock, with the sound of each of its steps.
    void step()
    {
        app->advance(frameStep, [this](double seconds) { listen(seconds); });
    }

    std::size_t seconds(double duration) const { return static_cast<std::size_t>(duration * sampleRate); }

    static inline AppMain* app = nullptr;
    static inline bool ready = false;
    static inline int sampleRate = 0;
    static inline std::filesystem::path previousDirectory;
    Recording recording;
    double owedFrames = 0.0;
};

struct PickUp {
    int stone = 0;      // 1 to 6
    std::string player; // whose burst went off at the stone: "1", "2" or "1+2"
    int players = 0;
    double time = 0.0;  // race time of the update that took it
    std::size_t frame = 0; // where that update's sound starts in the recording
};

} // namespace

TEST_F(AppWholeRace, EveryStoneIsTakenAndHeardTheEnginePitchFollowsTheCarAndTheRaceStartsOverOnce)
{
    const SoundFile pickUpSound = readMono(pickUpFile);
    const SoundFile engineSound = readMono(firstEngineFile);
    ASSERT_FALSE(pickUpSound.samples.empty());
    ASSERT_EQ(pickUpSound.rate, sampleRate) << "the match below compares samples one to one";
    ASSERT_GT(engineSound.rate, 0);

    const double endTime = app->cameraPath->endTime;
    const double raceStep = app->raceClock.step();
    const auto frameLimit = static_cast<int>(endTime / frameStep) + 120;
    FMOD::Channel* engine = app->music->channel(SoundSlot::Engine1);
    ASSERT_NE(engine, nullptr);
    Car& firstCar = *app->players[0]->getCar();

    std::vector<PickUp> pickUps;
    std::vector<bool> taken(app->energyStones.size(), false);
    float pitchAtRest = -1.0f;
    float topSpeed = 0.0f;
    float pitchAtTopSpeed = 0.0f;
    int restarts = 0;
    double timeBeforeRestart = 0.0;
    double timeAfterRestart = -1.0;

    // The engine's pitch is set from the speed the car has coming into the update.
    float speedComingIn = std::fabs(*firstCar.speed);
    bool firstStep = true;
    double lastTime = app->raceTime;
    auto eachStep = [&](double seconds) {
        // This step's sound, a pick-up started by its update included, begins here.
        const std::size_t frame = recording.frames();
        listen(seconds);
        if (restarts > 0) {
            return;
        }
        const float pitch = frequencyOf(engine);
        if (firstStep) {
            EXPECT_EQ(speedComingIn, 0.0f);
            pitchAtRest = pitch;
            firstStep = false;
        }
        if (speedComingIn > topSpeed) {
            topSpeed = speedComingIn;
            pitchAtTopSpeed = pitch;
        }
        speedComingIn = std::fabs(*firstCar.speed);
        if (app->raceTime < lastTime) {
            ++restarts;
            timeBeforeRestart = lastTime;
            timeAfterRestart = app->raceTime;
            return;
        }
        lastTime = app->raceTime;
        for (std::size_t i = 0; i < app->energyStones.size(); ++i) {
            const EnergyStone& stone = *app->energyStones[i];
            if (!stone.collected || taken[i]) {
                continue;
            }
            taken[i] = true;
            // The update sets the burst off after the sparks' own step, so a
            // fresh one still sits at the stone's centre.
            std::string player;
            int players = 0;
            for (int p = 0; p < 2; ++p) {
                const Explosion& burst = *app->players[p]->getExplosion();
                if (burst.aliveCount > 0 &&
                    glm::distance(burst.particles[0].position, stone.boundingSphere.worldCentre) < 1e-4f) {
                    player += (player.empty() ? "" : "+") + std::to_string(p + 1);
                    ++players;
                }
            }
            EXPECT_GT(players, 0) << "stone " << i + 1 << " was taken without a burst";
            pickUps.push_back({static_cast<int>(i) + 1, player, players, app->raceTime, frame});
        }
    };
    for (int n = 0; n < frameLimit && restarts == 0; ++n) {
        app->advance(frameStep, eachStep);
    }

    std::printf("stone  player  race time (s)\n");
    for (const PickUp& p : pickUps) {
        std::printf("%5d  %6s  %13.3f\n", p.stone, p.player.c_str(), p.time);
    }

    // Every stone was taken once, in the one race.
    EXPECT_EQ(pickUps.size(), app->energyStones.size());
    EXPECT_TRUE(std::all_of(taken.begin(), taken.end(), [](bool t) { return t; }));

    // The race ran to its end once and started over in the step that passed it.
    ASSERT_EQ(restarts, 1) << "no restart within " << frameLimit << " frames";
    EXPECT_LE(timeBeforeRestart, endTime);
    EXPECT_GT(timeBeforeRestart + raceStep, endTime);
    EXPECT_EQ(timeAfterRestart, 0.0);
    for (std::size_t i = 0; i < app->energyStones.size(); ++i) {
        EXPECT_FALSE(app->energyStones[i]->collected) << "stone " << i + 1 << " after the restart";
    }
    // A second of the new race: it runs on without starting over again.
    const double newRaceTime = app->raceTime;
    for (int n = 0; n < 60; ++n) {
        const double before = app->raceTime;
        step();
        ASSERT_GT(app->raceTime, before) << "started over again " << n + 1 << " frames into the new race";
    }
    EXPECT_NEAR(app->raceTime - newRaceTime, 1.0, 1e-9);
    // Every step of the old race, the one that restarted it and those of the new one, was heard.
    EXPECT_EQ(recording.frames(),
              static_cast<std::size_t>(std::lround((timeBeforeRestart + raceStep + app->raceTime) * sampleRate)))
        << "the recording fell out of step with the race";

    // The engine runs at its file's own rate while the car stands and higher
    // the faster it goes.
    std::printf("engine 1: %.0f Hz at rest, %.0f Hz at its top speed of %.2f units/s\n", pitchAtRest, pitchAtTopSpeed,
                topSpeed);
    EXPECT_FLOAT_EQ(pitchAtRest, static_cast<float>(engineSound.rate));
    EXPECT_GT(topSpeed, 10.0f);
    EXPECT_GT(pitchAtTopSpeed, pitchAtRest + 100.0f * topSpeed)
        << "at rest " << pitchAtRest << " Hz, at " << topSpeed << " units/s " << pitchAtTopSpeed << " Hz";

    // Every pick-up is heard: the sound's waveform turns up in the mix with
    // the sound of the update that took the stone, about as strong each time.
    // The search for it spans a whole frame either way.
    const long slack = long(seconds(frameStep));
    const std::size_t window = seconds(0.15);
    const std::size_t soundLength = pickUpSound.samples.size();
    std::vector<double> gains;
    int louderChecks = 0;
    for (std::size_t k = 0; k < pickUps.size(); ++k) {
        const PickUp& p = pickUps[k];
        SCOPED_TRACE("stone " + std::to_string(p.stone));
        Recording::Match found = recording.match(pickUpSound.samples, p.frame, slack);
        const double before = recording.rms(p.frame - window, window);
        const double after = recording.rms(p.frame, window);
        std::printf("stone %d: pick-up sound in the mix at gain %.3f, %+ld frames from its step; level %.3f -> %.3f\n",
                    p.stone, found.gain, found.offset, before, after);
        EXPECT_LE(std::labs(found.offset), 64L);
        // Two cars on one stone start the sound twice at once.
        gains.push_back(found.gain / std::max(1, p.players));
        // It is loud enough to lift the whole mix over the music and the
        // engines, which shows wherever the moment before holds no other
        // pick-up sound still playing.
        if (k == 0 || pickUps[k - 1].frame + soundLength + window <= p.frame) {
            ++louderChecks;
            EXPECT_GT(after, 1.25 * before);
        }
    }
    EXPECT_GE(louderChecks, 4);
    ASSERT_FALSE(gains.empty());
    const auto [weakest, strongest] = std::minmax_element(gains.begin(), gains.end());
    EXPECT_GT(*weakest, 0.5);
    EXPECT_LT(*strongest, 1.2 * *weakest);

    // Where none starts, the same search finds next to nothing: in the middle
    // of each long quiet stretch between pick-ups and a second after the last.
    std::vector<std::size_t> quiet{pickUps.back().frame + seconds(1.0)};
    for (std::size_t k = 1; k < pickUps.size(); ++k) {
        if (pickUps[k].frame - pickUps[k - 1].frame > 2 * soundLength + 2 * std::size_t(slack)) {
            quiet.push_back((pickUps[k - 1].frame + pickUps[k].frame - soundLength) / 2);
        }
    }
    for (std::size_t frame : quiet) {
        Recording::Match none = recording.match(pickUpSound.samples, frame, slack);
        std::printf("no pick-up at %.2f s: gain %.3f\n", double(frame) / sampleRate, none.gain);
        EXPECT_LT(std::fabs(none.gain), 0.25 * *weakest) << "at " << double(frame) / sampleRate << " s of the recording";
    }
}

TEST_F(AppWholeRace, TwoCarsTakingOneStoneInOneFrameStartThePickUpSoundTwice)
{
    // Only the pick-up sounds are to be heard: the music and the engines go on
    // muted (the update sets the engines' volume, never their mute).
    std::vector<FMOD::Channel*> background;
    for (SoundSlot slot : {SoundSlot::Music, SoundSlot::Engine1, SoundSlot::Engine2}) {
        FMOD::Channel* channel = app->music->channel(slot);
        ASSERT_NE(channel, nullptr) << "slot " << static_cast<int>(slot);
        ASSERT_EQ(channel->setMute(true), FMOD::FMOD_OK);
        background.push_back(channel);
    }
    const std::size_t soundLength = readMono(pickUpFile).samples.size();
    ASSERT_GT(soundLength, 0u);

    // Player 1's car, and player 2's too or not, on a stone far from the
    // starts; one step; the sound of that step and of the pick-up's length.
    auto takeStone = [&](bool bothCars) {
        app->restart();
        listen(1.0); // whatever played before has ended
        EXPECT_LT(recording.rms(recording.frames() - seconds(0.5), seconds(0.5)), 1e-4) << "not quiet";
        EnergyStone& stone = *app->energyStones[2];
        const glm::vec3 at = glm::vec3((*stone.modelMatrix)[3]);
        for (int i = 0; i < (bothCars ? 2 : 1); ++i) {
            Car& car = *app->players[i]->getCar();
            car.resetTransform();
            car.translate(at.x, roomLayout::carStarts[i].y, at.z);
        }
        const std::size_t start = recording.frames();
        step();
        EXPECT_TRUE(stone.collected);
        for (int n = 0; n < 30; ++n) {
            step();
        }
        return recording.rms(start, soundLength);
    };
    const double once = takeStone(false);
    const double twice = takeStone(true);
    for (FMOD::Channel* channel : background) {
        channel->setMute(false);
    }

    std::printf("pick-up level: one car %.4f, two cars %.4f\n", once, twice);
    EXPECT_GT(once, 0.05);
    // Both plays start in the same mix and add up sample for sample.
    EXPECT_NEAR(twice / once, 2.0, 0.05);
}
