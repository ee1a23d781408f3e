#include "scene/CameraPath.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

const glm::vec3 worldUp(0.0f, 1.0f, 0.0f);

// A million units is thousands of rooms away; numbers past it (or not numbers
// at all) would only overflow the view and projection into infinities.
constexpr float farthestCoordinate = 1.0e6f;

template <int Length, typename Value>
bool isReachable(const glm::vec<Length, Value>& numbers)
{
    for (int i = 0; i < Length; ++i) {
        if (!(std::fabs(numbers[i]) <= farthestCoordinate)) {
            return false;
        }
    }
    return true;
}

bool isFiniteMatrix(const glm::mat4& matrix)
{
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            if (!std::isfinite(matrix[column][row])) {
                return false;
            }
        }
    }
    return true;
}

// A comma list of exactly `count` numbers; an empty piece is no number, so
// "1,2," counts two.
bool readNumbers(const std::string& text, std::size_t count, float* numbers)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        pieces.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    if (pieces.size() != count) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (pieces[i].empty()) {
            return false;
        }
        numbers[i] = static_cast<float>(std::atof(pieces[i].c_str()));
    }
    return true;
}

// False for an unknown or empty name and for a wrong count of numbers; a
// rejected token leaves the key as it was.
bool applyToken(const std::string& name, const std::string& value, CameraKey& key)
{
    if (name == "time") {
        key.time = static_cast<float>(std::atof(value.c_str()));
        return true;
    }
    if (name == "method") {
        key.method = static_cast<CameraMethod>(std::atoi(value.c_str()));
        return true;
    }
    float numbers[4];
    if (name == "position") {
        if (!readNumbers(value, 3, numbers)) {
            return false;
        }
        key.position = glm::vec3(numbers[0], numbers[1], numbers[2]);
        return true;
    }
    if (name == "lookat") {
        if (!readNumbers(value, 3, numbers)) {
            return false;
        }
        key.lookAt = glm::vec3(numbers[0], numbers[1], numbers[2]);
        key.hasLookAt = true;
        return true;
    }
    if (name == "rotation") {
        if (!readNumbers(value, 4, numbers)) {
            return false;
        }
        // The file lists w first; set by name so no constructor order is assumed.
        key.rotation.w = numbers[0];
        key.rotation.x = numbers[1];
        key.rotation.y = numbers[2];
        key.rotation.z = numbers[3];
        return true;
    }
    return false;
}

// Every restart reads the file again (twice at start-up alone): the same
// fault is told once, and again only after a good path was read between.
std::string lastBrokenReport;

// 4 as "4.0" and 2.25 as "2.25", so a message quotes times as they were meant.
std::string formatTime(float time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(time));
    std::string result = text;
    if (result.find_first_of(".eni") == std::string::npos) {
        result += ".0";
    }
    return result;
}

} // namespace

CameraPath::CameraPath(Camera* flyCamera, Camera* player1Camera, Camera* player2Camera, const std::string& file)
    : flyCamera(flyCamera), player1Camera(player1Camera), player2Camera(player2Camera), fileName(file)
{
    readKeys(file);
    const std::string rule = brokenRule();
    isUsable = rule.empty();
    if (isUsable) {
        endTime = keys[keys.size() - 2].time;
        lastBrokenReport.clear();
        return;
    }
    const std::string report = "Camera path '" + file + "': " + rule + "; showing player 1's chase camera.\n";
    if (report != lastBrokenReport) {
        std::fputs(report.c_str(), stdout);
        lastBrokenReport = report;
    }
    // The race still needs an end: keep the file's length where it gives one.
    if (keys.size() >= 2) {
        const float nextToLast = keys[keys.size() - 2].time;
        if (std::isfinite(nextToLast) && nextToLast > 0.0f) {
            endTime = nextToLast;
        }
    }
}

bool CameraPath::parseLine(const std::string& line, CameraKey& key)
{
    key = CameraKey{};
    bool lastAccepted = false;
    std::istringstream tokens(line);
    std::string token;
    while (tokens >> token) {
        const std::size_t equals = token.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        lastAccepted = applyToken(token.substr(0, equals), token.substr(equals + 1), key);
    }
    return lastAccepted;
}

void CameraPath::readKeys(const std::string& file)
{
    std::ifstream in(file);
    std::string line;
    CameraKey key;
    while (std::getline(in, line)) {
        if (parseLine(line, key)) {
            keys.push_back(key);
        }
    }
}

std::string CameraPath::brokenRule() const
{
    const std::size_t count = keys.size();
    if (count < 3) {
        return "a path needs at least three keys, found " + std::to_string(count);
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!std::isfinite(keys[i].time)) {
            return "key times must be finite (key " + std::to_string(i) + " at " + formatTime(keys[i].time) + ")";
        }
    }
    for (std::size_t i = 1; i < count; ++i) {
        if (!(keys[i].time > keys[i - 1].time)) {
            return "key times must increase (key " + std::to_string(i) + " at " + formatTime(keys[i].time) +
                   " after " + formatTime(keys[i - 1].time) + ")";
        }
    }
    if (!(keys[count - 2].time > 0.0f)) {
        return "the next-to-last key's time must be positive (key " + std::to_string(count - 2) + " at " +
               formatTime(keys[count - 2].time) + ")";
    }
    // A flown first stretch would need a curve point before key 0.
    if (keys[0].method != CameraMethod::FollowPlayer1 && keys[0].method != CameraMethod::FollowPlayer2) {
        return "the first stretch must show a chase camera, method 0 or 4 (key 0 has method " +
               std::to_string(static_cast<int>(keys[0].method)) + ")";
    }
    for (std::size_t i = 0; i < count; ++i) {
        const CameraKey& key = keys[i];
        const char* field = !isReachable(key.position) ? "position"
                            : !isReachable(key.lookAt) ? "lookat"
                            : !isReachable(glm::vec4(key.rotation.x, key.rotation.y, key.rotation.z, key.rotation.w))
                                ? "rotation"
                                : nullptr;
        if (field) {
            return "numbers must be finite and within " + formatTime(farthestCoordinate) + " (key " +
                   std::to_string(i) + " " + field + ")";
        }
    }
    // A pass ends at the next-to-last key, so the methods of the last two
    // keys are never used.
    for (std::size_t i = 1; i + 2 < count; ++i) {
        if (keys[i].method == CameraMethod::LookAtPoint && !keys[i].hasLookAt) {
            return "a method 1 key needs a \"lookat\" (key " + std::to_string(i) + " has none)";
        }
        // The rotation curve starts at the key's own rotation; without one the
        // flight would start with no orientation at all.
        if (keys[i].method == CameraMethod::FlyByRotation && keys[i].rotation == glm::quat(0.0f, 0.0f, 0.0f, 0.0f)) {
            return "a method 3 key needs a \"rotation\" (key " + std::to_string(i) + " has none)";
        }
    }
    return {};
}

CameraPath::Shot CameraPath::cameraAt(float time)
{
    if (!isUsable) {
        return {player1Camera, 1};
    }
    const float t = std::fmod(time, endTime);
    const std::size_t end = stretchEnd(t);
    switch (keys[end - 1].method) {
    case CameraMethod::FollowPlayer1:
        return {player1Camera, 1};
    case CameraMethod::FollowPlayer2:
        return {player2Camera, 2};
    default:
        break;
    }
    const glm::mat4 view = viewMatrix(end, t, time);
    const glm::mat4 model = glm::inverse(view);
    // Looking straight up or down, or at the eye itself, gives no view; the
    // camera then holds its last one rather than fill the frame with NaN.
    if (isFiniteMatrix(view) && isFiniteMatrix(model)) {
        flyCamera->setTransform(model, view);
    } else if (!reportedNoView) {
        std::printf("Camera path '%s': no view at %s s (looking straight up or down, or at the eye); the camera "
                    "holds still there.\n",
                    fileName.c_str(), formatTime(t).c_str());
        reportedNoView = true;
    }
    return {flyCamera, 0};
}

std::size_t CameraPath::stretchEnd(float t) const
{
    for (std::size_t k = 1; k + 1 < keys.size(); ++k) {
        if (keys[k].time > t) {
            return k;
        }
    }
    // Only a time at or past endTime, or not a number, gets here: the last
    // stretch keeps every curve point inside the keys.
    return keys.size() - 2;
}

float CameraPath::stretchFraction(std::size_t end, float t) const
{
    return (t - keys[end - 1].time) / (keys[end].time - keys[end - 1].time);
}

glm::vec3 CameraPath::curvePosition(std::size_t end, float t) const
{
    const float u = stretchFraction(end, t);
    return catmullRom(keys[end - 2].position, keys[end - 1].position, keys[end].position, keys[end + 1].position, u);
}

// Reached only for flown stretches. Key 0 always starts a chase stretch, so
// end >= 2 here and the four control points end - 2 ... end + 1 exist.
glm::mat4 CameraPath::viewMatrix(std::size_t end, float t, float time) const
{
    const CameraKey& start = keys[end - 1];
    const glm::vec3 eye = curvePosition(end, t);
    switch (start.method) {
    case CameraMethod::FlyByRotation: {
        const glm::quat rotation = catmullRom(keys[end - 2].rotation, start.rotation, keys[end].rotation,
                                              keys[end + 1].rotation, stretchFraction(end, t));
        const glm::mat4 model = glm::translate(glm::mat4(1.0f), eye) * glm::mat4_cast(rotation);
        return glm::inverse(model);
    }
    case CameraMethod::LookAtPoint:
        return glm::lookAt(eye, start.lookAt, worldUp);
    case CameraMethod::LookAlongCurve: {
        float ahead = std::fmod(time + lookAheadSeconds, endTime);
        std::size_t aheadEnd = stretchEnd(ahead);
        if (aheadEnd < 2) {
            // Wrapped past endTime into the first stretch, whose curve would
            // start before key 0: aim a little past the end of this pass instead.
            ahead = t + lookAheadSeconds;
            aheadEnd = stretchEnd(ahead);
        }
        return glm::lookAt(eye, curvePosition(aheadEnd, ahead), worldUp);
    }
    default:
        return glm::mat4(1.0f);
    }
}
