#include "sound/music/MusicLoop.h"

#include "common/Random.h"
#include "sound/Levels.h"
#include "sound/music/Drums.h"
#include "sound/music/Score.h"
#include "sound/music/StereoLoop.h"
#include "sound/music/Synths.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace sound {
namespace {

// Long enough for the crash and the pad releases of the last bar.
constexpr double kTailSeconds = 3.0;

void playDrums(StereoLoop& bus, const Score& score)
{
    Random noise(2024u);
    const double beat = score.secondsPerBeat();
    for (const DrumHit& hit : score.drums) {
        const double start = hit.beat * beat;
        switch (hit.drum) {
        case Drum::Kick: playKick(bus, start, hit.velocity); break;
        case Drum::Snare: playSnare(bus, noise, start, hit.velocity); break;
        case Drum::ClosedHat: playHiHat(bus, noise, start, hit.velocity, false); break;
        case Drum::OpenHat: playHiHat(bus, noise, start, hit.velocity, true); break;
        case Drum::Crash: playCrash(bus, noise, start, hit.velocity); break;
        }
    }
}

template <typename Play>
void playNotes(StereoLoop& bus, const std::vector<Note>& notes, double secondsPerBeat, Play play)
{
    for (const Note& note : notes) {
        play(bus, note.beat * secondsPerBeat, note.beats * secondsPerBeat, note.midiNote, note.velocity);
    }
}

// The pads dip under every kick and swell back: the pumping that makes a
// steady four-on-the-floor feel like it moves. Beats divide the loop
// evenly, so the dip is periodic over it.
void duckOnBeats(Signal& stereo, double secondsPerBeat)
{
    const double beatFrames = secondsPerBeat * kSampleRate;
    for (std::size_t frame = 0; frame < stereo.frames(); ++frame) {
        const double sinceBeat = std::fmod(static_cast<double>(frame), beatFrames) / kSampleRate;
        const float gain = static_cast<float>(1.0 - 0.4 * std::exp(-sinceBeat / 0.12));
        stereo.samples[frame * 2] *= gain;
        stereo.samples[frame * 2 + 1] *= gain;
    }
}

// A ping-pong echo on a dotted eighth, read around the loop so the echoes
// of the last notes land on the first bar.
Signal withLoopedEcho(const Signal& dry, double secondsPerBeat)
{
    struct Tap {
        double beats;
        float toLeft;
        float toRight;
    };
    static constexpr std::array<Tap, 3> kTaps{{{0.75, 0.0f, 0.32f}, {1.5, 0.2f, 0.0f}, {2.25, 0.0f, 0.11f}}};
    Signal wet = dry;
    const std::size_t frames = dry.frames();
    for (const Tap& tap : kTaps) {
        const std::size_t delay = static_cast<std::size_t>(std::lround(tap.beats * secondsPerBeat * kSampleRate));
        for (std::size_t frame = 0; frame < frames; ++frame) {
            const std::size_t source = (frame + frames - delay % frames) % frames;
            const float mono = 0.5f * (dry.samples[source * 2] + dry.samples[source * 2 + 1]);
            wet.samples[frame * 2] += tap.toLeft * mono;
            wet.samples[frame * 2 + 1] += tap.toRight * mono;
        }
    }
    return wet;
}

void addInto(Signal& mix, const Signal& part)
{
    for (std::size_t i = 0; i < mix.samples.size(); ++i) {
        mix.samples[i] += part.samples[i];
    }
}

} // namespace

Signal renderMusicLoop()
{
    const Score score = composeShowcaseTune();
    const double beat = score.secondsPerBeat();
    // 120 bpm makes a beat exactly 22050 frames, so the loop is exact.
    const auto loopFrames = static_cast<std::size_t>(std::lround(score.totalBeats() * beat * kSampleRate));
    const auto tailFrames = static_cast<std::size_t>(kTailSeconds * kSampleRate);

    StereoLoop rhythm(loopFrames, tailFrames);
    playDrums(rhythm, score);
    playNotes(rhythm, score.bass, beat, playBass);

    StereoLoop pads(loopFrames, tailFrames);
    playNotes(pads, score.pads, beat, playPad);

    StereoLoop lead(loopFrames, tailFrames);
    playNotes(lead, score.melody, beat, playLead);

    Signal mix = rhythm.folded();
    Signal padMix = pads.folded();
    duckOnBeats(padMix, beat);
    addInto(mix, padMix);
    addInto(mix, withLoopedEcho(lead.folded(), beat));
    normalizePeak(mix, -3.0);
    return mix;
}

} // namespace sound
