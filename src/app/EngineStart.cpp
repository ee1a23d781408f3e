#include "app/EngineStart.h"

#include "settings/Settings.h"
#include "sound/Music.h"

void startEngines(Music& music)
{
    music.setVolume(SoundSlot::Music, 0.3f);
    for (int engine = 0; engine < numPlayers && engine < Music::engineCount; ++engine) {
        music.startEngine(engine);
    }
}
