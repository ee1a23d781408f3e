#include "ContentGenerators.h"

#include "sound/EngineLoops.h"
#include "sound/ImpactEffect.h"
#include "sound/PickupEffects.h"
#include "sound/SoundFileWriter.h"
#include "sound/music/MusicLoop.h"

// Every sound the bank loads, made from scratch. The engines and the music
// loop, so their lengths are whole engine cycles and whole bars; the
// one-shots fade to silence.
bool generateSounds(const std::filesystem::path& musicDir)
{
    // Short effects compress well enough at a middling level; the music
    // gets more bits because it plays for the whole run.
    constexpr double effectCompression = 0.5;
    constexpr double musicCompression = 0.3;

    bool ok = true;
    for (const sound::EngineDesign& design : sound::engineDesigns()) {
        ok = sound::writeWav(musicDir / design.fileName, sound::renderEngineLoop(design)) && ok;
    }
    ok = sound::writeMp3(musicDir / "powerup1.mp3", sound::renderArcadeRise(), effectCompression) && ok;
    ok = sound::writeWav(musicDir / "powerup2.wav", sound::renderPickupChime()) && ok;
    ok = sound::writeWav(musicDir / "powerup3.wav", sound::renderSparkleRun()) && ok;
    ok = sound::writeMp3(musicDir / "powerup4.mp3", sound::renderEnergyCharge(), effectCompression) && ok;
    ok = sound::writeWav(musicDir / "Hit.wav", sound::renderHit()) && ok;
    ok = sound::writeMp3(musicDir / "menu2.mp3", sound::renderMusicLoop(), musicCompression) && ok;
    return ok;
}
