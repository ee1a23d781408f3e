#include "sound/music/Score.h"

#include <cctype>
#include <cstdlib>

namespace sound {
namespace {

constexpr int kSemitoneOfLetter[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G

// Parses "C#5" and friends; returns -1 for a rest.
int readPitch(const char*& cursor)
{
    if (*cursor == '-') {
        ++cursor;
        return -1;
    }
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(*cursor++)));
    int semitone = (letter >= 'A' && letter <= 'G') ? kSemitoneOfLetter[letter - 'A'] : 0;
    if (*cursor == '#') {
        ++semitone;
        ++cursor;
    } else if (*cursor == 'b') {
        --semitone;
        ++cursor;
    }
    char* end = nullptr;
    const long octave = std::strtol(cursor, &end, 10);
    cursor = end;
    return 12 * (static_cast<int>(octave) + 1) + semitone;
}

} // namespace

int readMelodyBar(const char* text, double barStartBeat, std::vector<Note>& out)
{
    int eighths = 0;
    const char* cursor = text;
    while (*cursor != '\0') {
        while (*cursor == ' ') {
            ++cursor;
        }
        if (*cursor == '\0') {
            break;
        }
        const int pitch = readPitch(cursor);
        int length = 1;
        if (*cursor == ':') {
            char* end = nullptr;
            length = static_cast<int>(std::strtol(cursor + 1, &end, 10));
            cursor = end;
        }
        if (pitch >= 0) {
            // Notes on the beat lean a little harder, as a player would.
            const float velocity = (eighths % 2 == 0) ? 0.9f : 0.75f;
            // A slight gap between notes keeps the line articulate.
            out.push_back({barStartBeat + eighths * 0.5, length * 0.5 * 0.92, pitch, velocity});
        }
        eighths += length;
    }
    return eighths;
}

} // namespace sound
