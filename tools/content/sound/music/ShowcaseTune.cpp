#include "sound/music/Score.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace sound {
namespace {

struct Chord {
    const char* name;
    int bassNote;
    std::array<int, 3> padNotes; // voiced close around middle C so changes move little
};

constexpr std::array<Chord, 5> kChords{{
    {"C", 36, {60, 64, 67}},
    {"G", 43, {59, 62, 67}},
    {"Am", 45, {60, 64, 69}},
    {"F", 41, {60, 65, 69}},
    {"Dm", 38, {62, 65, 69}},
}};

const Chord& chordNamed(const char* name)
{
    for (const Chord& chord : kChords) {
        if (std::strcmp(chord.name, name) == 0) {
            return chord;
        }
    }
    return kChords[0];
}

// One chord per bar. The last bar is the dominant so the loop falls back
// into its first bar as a resolution.
constexpr std::array<const char*, 32> kProgression{
    "C", "G", "Am", "F", "C", "G", "Am", "F",   // verse
    "C", "G", "Am", "F", "C", "G", "Am", "F",   // lifted verse
    "Am", "F", "C", "G", "Am", "F", "Dm", "G",  // bridge
    "C", "G", "Am", "F", "C", "G", "F", "G",    // return
};

constexpr std::array<const char*, 32> kMelody{
    // verse
    "G5:2 E5:1 G5:1 C6:2 B5:1 C6:1", "D6:3 B5:1 G5:4", "A5:2 C6:1 A5:1 E5:2 G5:1 A5:1", "F5:3 E5:1 C5:2 -:2",
    "G5:2 E5:1 G5:1 C6:2 D6:1 E6:1", "D6:2 B5:2 G5:2 A5:1 B5:1", "C6:2 B5:1 A5:1 E5:2 A5:2",
    "A5:3 G5:1 F5:2 E5:1 D5:1",
    // lifted verse
    "E6:1 D6:1 C6:1 D6:1 E6:2 G6:2", "D6:2 B5:2 D6:3 -:1", "C6:1 B5:1 A5:1 B5:1 C6:2 E6:2", "A5:4 C6:2 A5:2",
    "G5:1 A5:1 C6:1 D6:1 E6:2 C6:2", "B5:2 D6:2 G6:3 F6:1", "E6:2 C6:2 A5:2 B5:1 C6:1", "A5:4 -:2 C6:1 B5:1",
    // bridge: longer notes over the minor turn
    "A5:4 E5:2 A5:2", "C6:6 A5:2", "G5:4 E5:2 G5:2", "D6:6 -:2", "E6:4 C6:2 A5:2", "F6:4 E6:2 C6:2",
    "D6:2 C6:2 A5:2 F5:2", "G5:2 B5:2 D6:4",
    // return
    "G5:2 E5:1 G5:1 C6:2 B5:1 C6:1", "D6:3 B5:1 G5:4", "A5:2 C6:1 A5:1 E5:2 G5:1 A5:1", "F5:3 E5:1 C5:2 -:2",
    "G5:2 E5:1 G5:1 C6:2 D6:1 E6:1", "D6:2 B5:2 G5:2 A5:1 B5:1", "A5:2 C6:2 F6:2 E6:1 C6:1",
    "D6:4 B5:2 A5:1 B5:1",
};

enum class Section { Verse, Lift, Bridge, Return };

Section sectionOfBar(int bar)
{
    static constexpr std::array<Section, 4> kOrder{Section::Verse, Section::Lift, Section::Bridge, Section::Return};
    return kOrder[static_cast<std::size_t>(bar / 8)];
}

void addDrums(Score& score, int bar, Section section)
{
    const double start = bar * score.beatsPerBar;
    auto hit = [&](double beat, Drum drum, float velocity) { score.drums.push_back({start + beat, drum, velocity}); };

    if (bar % 8 == 0) {
        hit(0.0, Drum::Crash, 0.8f);
    }
    // Four on the floor drives everything except the bridge, which skips.
    const bool bridge = section == Section::Bridge;
    for (double beat : bridge ? std::array<double, 4>{0.0, 1.5, 2.0, 3.0} : std::array<double, 4>{0.0, 1.0, 2.0, 3.0}) {
        hit(beat, Drum::Kick, 1.0f);
    }
    const float backbeat = section == Section::Verse ? 0.75f : 0.9f;
    hit(1.0, Drum::Snare, backbeat);
    hit(3.0, Drum::Snare, backbeat);

    // The bars before the lift and before the loop's restart end on a roll.
    const bool fill = bar == 15 || bar == 31;
    const double hatsEnd = fill ? 3.0 : 4.0;
    if (fill) {
        for (int i = 0; i < 4; ++i) {
            hit(3.0 + 0.25 * i, Drum::Snare, 0.5f + 0.13f * static_cast<float>(i));
        }
    }
    if (section == Section::Verse) {
        for (double beat = 0.0; beat < hatsEnd; beat += 0.5) {
            hit(beat, Drum::ClosedHat, std::fmod(beat, 1.0) == 0.0 ? 0.5f : 0.8f);
        }
    } else if (bridge) {
        for (double beat = 0.0; beat < hatsEnd; beat += 1.0) {
            hit(beat, Drum::ClosedHat, 0.5f);
            hit(beat + 0.5, Drum::OpenHat, 0.6f);
        }
    } else {
        static constexpr std::array<float, 4> kSixteenthAccent{0.9f, 0.4f, 0.65f, 0.4f};
        for (int i = 0; i * 0.25 < hatsEnd; ++i) {
            hit(i * 0.25, Drum::ClosedHat, kSixteenthAccent[static_cast<std::size_t>(i % 4)]);
        }
    }
}

void addBass(Score& score, int bar, Section section, const Chord& chord)
{
    const double start = bar * score.beatsPerBar;
    auto note = [&](double eighth, double eighths, int midiNote, float velocity) {
        score.bass.push_back({start + eighth * 0.5, eighths * 0.5 * 0.85, midiNote, velocity});
    };
    if (section == Section::Bridge) {
        // A 3+3+2 push under the bridge's half-time kick.
        note(0, 2.5, chord.bassNote, 1.0f);
        note(3, 2.5, chord.bassNote, 0.85f);
        note(6, 1, chord.bassNote + 12, 0.8f);
        note(7, 1, chord.bassNote, 0.7f);
        return;
    }
    // Driving eighths with the octave jumping up on two off-beats.
    for (int eighth = 0; eighth < 8; ++eighth) {
        const bool octave = eighth == 2 || eighth == 6;
        note(eighth, 1, chord.bassNote + (octave ? 12 : 0), eighth % 2 == 0 ? 1.0f : 0.7f);
    }
}

void addPads(Score& score, int bar, Section section, const Chord& chord)
{
    const double start = bar * score.beatsPerBar;
    const float velocity = section == Section::Verse ? 0.8f : 1.0f;
    for (int midiNote : chord.padNotes) {
        score.pads.push_back({start, score.beatsPerBar - 0.1, midiNote, velocity});
    }
    // The bridge opens up with the root on top.
    if (section == Section::Bridge) {
        score.pads.push_back({start, score.beatsPerBar - 0.1, chord.bassNote + 36, 0.7f});
    }
}

} // namespace

Score composeShowcaseTune()
{
    Score score;
    score.bars = static_cast<int>(kProgression.size());
    for (int bar = 0; bar < score.bars; ++bar) {
        const Section section = sectionOfBar(bar);
        const Chord& chord = chordNamed(kProgression[static_cast<std::size_t>(bar)]);
        addDrums(score, bar, section);
        addBass(score, bar, section, chord);
        addPads(score, bar, section, chord);
        const int eighths = readMelodyBar(kMelody[static_cast<std::size_t>(bar)], bar * score.beatsPerBar, score.melody);
        if (eighths != 2 * score.beatsPerBar) {
            std::printf("Melody bar %d holds %d eighths instead of %d\n", bar + 1, eighths, 2 * score.beatsPerBar);
        }
    }
    return score;
}

} // namespace sound
