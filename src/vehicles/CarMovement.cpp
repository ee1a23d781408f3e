#include "vehicles/CarMovement.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>

namespace {

// "No event left": later than any race time, so flagsAt stops looking.
constexpr float noMoreEvents = std::numeric_limits<float>::max();

// "nan" is no time like any other malformed number, so it reads as 0 too: a
// NaN would compare false with every race time and hold up the whole script.
float readTime(const std::string& text)
{
    const float time = static_cast<float>(std::atof(text.c_str()));
    return std::isnan(time) ? 0.0f : time;
}

} // namespace

CarMovement::CarMovement(const std::string& path)
{
    std::ifstream file(path);
    std::string timeText;
    std::string flagsText;
    // A time text counts as read when it reached a ';' or any character
    // before the end of the file; so a last line without a separator (even a
    // lone line feed) becomes one more event, (0, 0).
    while (std::getline(file, timeText, ';')) {
        flagsText.clear();
        std::getline(file, flagsText, '\n');
        events.emplace_back(readTime(timeText), Controls(std::atoi(flagsText.c_str())));
    }
    if (events.empty()) {
        events.emplace_back(0.0f, Controls());
    }
    nextEventTime = events.front().first;
}

Controls CarMovement::flagsAt(float raceTime)
{
    if (nextEventTime > raceTime) {
        return currentFlags;
    }
    while (nextEvent < eventCount() && events[static_cast<std::size_t>(nextEvent)].first < raceTime) {
        advance();
    }
    return currentFlags;
}

void CarMovement::advance()
{
    currentFlags = events[static_cast<std::size_t>(nextEvent)].second;
    ++nextEvent;
    nextEventTime = nextEvent < eventCount() ? events[static_cast<std::size_t>(nextEvent)].first : noMoreEvents;
}
