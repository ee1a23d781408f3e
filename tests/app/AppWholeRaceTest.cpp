// Whole races through the real application with its sound mixed into memory
// instead of played: every stone is taken and heard, each engine's pitch
// follows its car, and the race starts over once, right after its end.
#include "AppFrameTestSupport.h"

#include "effects/Explosion.h"
#include "scene/CameraPath.h"
#include "scene/RoomLayout.h"
#include "sound/Channel.h"
#include "sound/Music.h"
#include "sound/System.h"
#include "vehicles/Car.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"

#include <sndfile.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

constexpr double frameStep = 1.0 / 60.0;
const char* const pickUpFile = "../brimbolt/music/powerup2.wav";
const char* const engineFiles[] = {"../brimbolt/music/car1.wav", "../brimbolt/music/car2.wav"};

// A sound file as mono samples, with its sample rate.
struct SoundFile {
    std::vector<float> samples;
    int rate = 0;
};

SoundFile readMono(const char* path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (!file) {
        return {};
    }
    std::vector<float> interleaved(static_cast<std::size_t>(info.frames * info.channels));
    const auto frames = static_cast<std::size_t>(sf_readf_float(file, interleaved.data(), info.frames));
    sf_close(file);
    SoundFile result{std::vector<float>(frames), info.samplerate};
    for (std::size_t i = 0; i < frames * std::size_t(info.channels); ++i) {
        result.samples[i / std::size_t(info.channels)] += interleaved[i] / static_cast<float>(info.channels);
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

    // The least-squares gain of a sound's waveform in L + R from `first` on:
    // the sound's own level in the mix where the mix holds nothing else.
    double gainOf(const std::vector<float>& sound, std::size_t first) const
    {
        double dot = 0.0, energy = 0.0;
        for (std::size_t n = 0; n < sound.size() && first + n < frames(); ++n) {
            dot += double(mono(first + n)) * sound[n];
            energy += double(sound[n]) * sound[n];
        }
        return energy > 0.0 ? dot / energy : 0.0;
    }
};

} // namespace

// AppFrame's application with its sound in capture mode, its engines started
// as the program entry starts them.
class AppWholeRace : public AppFrame {
protected:
    static void SetUpTestSuite()
    {
        launchApp(AppMain::SoundOutput::Capture);
        ready = ready && app->music->soundSystem()->getCaptureSampleRate(&sampleRate) == FMOD::FMOD_OK &&
                sampleRate > 0;
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

    // A frame of `frameSeconds` on the race clock, with the sound of each of its steps.
    void step(double frameSeconds = frameStep)
    {
        app->advance(frameSeconds, [this](double seconds) { listen(seconds); });
    }

    std::size_t seconds(double duration) const { return static_cast<std::size_t>(duration * sampleRate); }

    static inline int sampleRate = 0;
    Recording recording;
    double owedFrames = 0.0;
};

TEST_F(AppWholeRace, EveryStoneIsTakenAndHeardEachEnginesPitchFollowsItsCarAndTheRaceStartsOverOnce)
{
    const double endTime = app->cameraPath->endTime;
    const double raceStep = app->raceClock.step();
    const auto frameLimit = static_cast<int>(endTime / frameStep) + 120;

    struct Engine {
        FMOD::Channel* channel;
        const Car* car;
        SoundFile file;
        // The pitch is set from the speed the car has coming into the update.
        float speedComingIn = 0.0f;
        float pitchAtRest = -1.0f;
        float topSpeed = 0.0f;
        float pitchAtTopSpeed = 0.0f;
    };
    std::vector<Engine> engines;
    for (int p = 0; p < 2; ++p) {
        engines.push_back({app->music->channel(engineSlot(p)), app->players[p]->getCar(), readMono(engineFiles[p])});
        ASSERT_NE(engines.back().channel, nullptr);
        ASSERT_GT(engines.back().file.rate, 0);
    }

    std::vector<bool> taken(app->energyStones.size(), false);
    int pickUps = 0;
    int restarts = 0;
    double timeBeforeRestart = 0.0;
    double timeAfterRestart = -1.0;
    std::array<glm::vec3, 2> carsAfterRestart{};
    double lastTime = app->raceTime;
    FMOD::Channel* lastPickUp = app->music->channel(SoundSlot::PickUp);
    auto eachStep = [&](double seconds) {
        listen(seconds);
        if (restarts > 0) {
            return;
        }
        for (Engine& engine : engines) {
            float pitch = 0.0f;
            EXPECT_EQ(engine.channel->getFrequency(&pitch), FMOD::FMOD_OK);
            if (engine.pitchAtRest < 0.0f) {
                engine.pitchAtRest = pitch; // the cars stand at the start
            }
            if (engine.speedComingIn > engine.topSpeed) {
                engine.topSpeed = engine.speedComingIn;
                engine.pitchAtTopSpeed = pitch;
            }
            engine.speedComingIn = std::fabs(*engine.car->speed);
        }
        if (app->raceTime < lastTime) {
            ++restarts;
            timeBeforeRestart = lastTime;
            timeAfterRestart = app->raceTime;
            for (int p = 0; p < 2; ++p) {
                carsAfterRestart[p] = positionOf(*app->players[p]->getCar());
            }
            return;
        }
        lastTime = app->raceTime;
        for (std::size_t i = 0; i < app->energyStones.size(); ++i) {
            const EnergyStone& stone = *app->energyStones[i];
            if (!stone.collected || taken[i]) {
                continue;
            }
            taken[i] = true;
            ++pickUps;
            // The update sets the burst off after the sparks' own step, so a
            // fresh one still sits at the stone's centre; and it started the
            // pick-up sound anew, which still plays.
            int bursts = 0;
            for (const Player* player : app->players) {
                const Explosion& burst = *player->getExplosion();
                bursts += burst.aliveCount > 0 &&
                          glm::distance(burst.particles[0].position, stone.boundingSphere.worldCentre) < 1e-4f;
            }
            EXPECT_GT(bursts, 0) << "stone " << i + 1 << " was taken without a burst";
            FMOD::Channel* pickUp = app->music->channel(SoundSlot::PickUp);
            bool playing = false;
            EXPECT_TRUE(pickUp && pickUp != lastPickUp && pickUp->isPlaying(&playing) == FMOD::FMOD_OK && playing)
                << "stone " << i + 1 << " was taken without its sound";
            lastPickUp = pickUp;
        }
    };
    for (int n = 0; n < frameLimit && restarts == 0; ++n) {
        app->advance(frameStep, eachStep);
    }
    EXPECT_EQ(pickUps, int(app->energyStones.size())) << "stones taken in the one race";

    // The race ran to its end once and started over in the step that passed it.
    ASSERT_EQ(restarts, 1) << "no restart within " << frameLimit << " frames";
    EXPECT_LE(timeBeforeRestart, endTime);
    EXPECT_GT(timeBeforeRestart + raceStep, endTime);
    EXPECT_EQ(timeAfterRestart, 0.0);
    for (std::size_t i = 0; i < app->energyStones.size(); ++i) {
        EXPECT_FALSE(app->energyStones[i]->collected) << "stone " << i + 1 << " after the restart";
    }
    // The cars stood on their starts again; the rest of the step only
    // began to move them.
    for (int p = 0; p < 2; ++p) {
        EXPECT_NEAR(glm::distance(carsAfterRestart[p], roomLayout::carStarts[p]), 0.0f, 1e-3f) << "player " << p + 1;
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

    // Each engine runs at its file's own rate while its car stands, higher
    // the faster the car goes, and is still heard long after its file ended.
    for (std::size_t p = 0; p < engines.size(); ++p) {
        const Engine& engine = engines[p];
        std::printf("engine %zu: %.0f Hz at rest, %.0f Hz at its top speed of %.2f units/s\n", p + 1,
                    engine.pitchAtRest, engine.pitchAtTopSpeed, engine.topSpeed);
        SCOPED_TRACE("engine " + std::to_string(p + 1));
        EXPECT_FLOAT_EQ(engine.pitchAtRest, static_cast<float>(engine.file.rate));
        EXPECT_GT(engine.topSpeed, 10.0f);
        EXPECT_GT(engine.pitchAtTopSpeed, engine.pitchAtRest + 100.0f * engine.topSpeed);
        ASSERT_LT(engine.file.samples.size(), seconds(endTime / 2));
        bool playing = false;
        EXPECT_EQ(engine.channel->isPlaying(&playing), FMOD::FMOD_OK);
        EXPECT_TRUE(playing);
    }
}

TEST_F(AppWholeRace, TwoCarsOnOneStoneInOneStepTakeItOnceBothBurstThereAndThePickUpSoundsTwice)
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
    const SoundFile pickUpSound = readMono(pickUpFile);
    ASSERT_EQ(pickUpSound.rate, sampleRate) << "the mix is compared with the file sample for sample";

    // One car, or both, on a stone far from the starts; one race step; how
    // strongly the pick-up sound's file is in the mix from that step on.
    EnergyStone& stone = *app->energyStones[2];
    auto takeStone = [&](int cars) {
        app->restart();
        app->advance(0.0); // settles the fresh race before the cars move onto the stone
        listen(1.0);       // whatever played before has ended
        EXPECT_LT(recording.rms(recording.frames() - seconds(0.5), seconds(0.5)), 1e-4) << "not quiet";
        const glm::vec3 at = positionOf(stone);
        for (int i = 0; i < cars; ++i) {
            app->players[i]->getExplosion()->aliveCount = 0;
            Car& car = *app->players[i]->getCar();
            car.resetTransform();
            car.translate(at.x, roomLayout::carStarts[i].y, at.z);
        }
        const std::size_t start = recording.frames();
        step(app->raceClock.step());
        EXPECT_TRUE(stone.collected);
        for (const EnergyStone* other : app->energyStones) {
            EXPECT_EQ(other->collected, other == &stone);
        }
        // Set off in this update, after the sparks' own step: still at the stone.
        const glm::vec3 centre = stone.boundingSphere.worldCentre;
        for (int i = 0; i < cars; ++i) {
            const Explosion& burst = *app->players[i]->getExplosion();
            EXPECT_GT(burst.aliveCount, 0) << "player " << i + 1;
            EXPECT_NEAR(glm::distance(burst.particles[0].position, centre), 0.0f, 1e-5f) << "player " << i + 1;
        }
        for (int n = 0; n < 40; ++n) {
            step();
        }
        // The cars stood on it for a while, but the taken stone was not tried
        // again: the bursts flew on instead of starting over.
        for (int i = 0; i < cars; ++i) {
            EXPECT_GT(glm::distance(app->players[i]->getExplosion()->particles[0].position, centre), 1e-3f);
        }
        return recording.gainOf(pickUpSound.samples, start);
    };
    const double once = takeStone(1);
    const double twice = takeStone(2);
    for (FMOD::Channel* channel : background) {
        channel->setMute(false);
    }

    std::printf("the pick-up sound's file in the mix: gain %.3f for one car, %.3f for two\n", once, twice);
    EXPECT_GT(once, 0.5);
    // Both plays start in the same mix and add up sample for sample.
    EXPECT_NEAR(twice / once, 2.0, 0.05);
}
