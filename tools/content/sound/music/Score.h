#pragma once

#include <vector>

namespace sound {

enum class Drum { Kick, Snare, ClosedHat, OpenHat, Crash };

struct DrumHit {
    double beat;     // from the start of the loop
    Drum drum;
    float velocity;  // 0..1
};

struct Note {
    double beat;     // from the start of the loop
    double beats;    // sounding length
    int midiNote;
    float velocity;  // 0..1
};

// The whole tune as events on a beat grid; the instruments turn it to sound.
struct Score {
    double beatsPerMinute = 120.0;
    int beatsPerBar = 4;
    int bars = 0;
    std::vector<DrumHit> drums;
    std::vector<Note> bass;
    std::vector<Note> pads;
    std::vector<Note> melody;

    double secondsPerBeat() const { return 60.0 / beatsPerMinute; }
    double totalBeats() const { return static_cast<double>(bars * beatsPerBar); }
};

// The showcase tune: 32 bars in C major at 120 bpm, four eight-bar
// sections (verse, lifted verse, minor bridge, return), 64 s in all.
Score composeShowcaseTune();

// Reads one bar of melody written as "G5:2 E5:1 -:1 ...": a note name with
// octave (or "-" for a rest) and a length in eighths. Notes go into `out`
// starting at `barStartBeat`; returns the bar's length in eighths so the
// caller can check it.
int readMelodyBar(const char* text, double barStartBeat, std::vector<Note>& out);

} // namespace sound
