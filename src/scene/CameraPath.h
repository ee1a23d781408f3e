#pragma once

#include "scene/Camera.h"
#include "scene/CameraKey.h"
#include "scene/RaceTimeline.h"
#include "scene/RoomLayout.h"

#include <string>
#include <vector>

// Decides each frame through which camera the scene is seen: a looping script
// of keys whose stretches either ride one of the cars' chase cameras or fly the
// path's own camera along a Catmull-Rom curve through the key positions. It
// keeps no playback state; everything follows from the race time.
//
// A file that misses what the curve needs (at least three keys, finite and
// increasing times, a positive next-to-last time, a chase camera on the first
// stretch, a "lookat" on every look-at key, rotations on every stretch flown by
// rotation, finite numbers within a million units) is reported in one line on
// standard output and leaves the path unusable: it then always shows player
// 1's chase camera, so a broken script never reads past its keys.
class CameraPath {
public:
    // The race must still end and restart without a usable path; this leaves
    // the credits, shown from 125 s of race time, on screen before it does.
    static constexpr float fallbackEndTime = static_cast<float>(raceTimeline::raceEnd);
    // How far ahead on the curve a look-along stretch aims.
    static constexpr float lookAheadSeconds = 0.01f;

    // None of the cameras is owned. flyCamera is the path's own camera;
    // player1Camera and player2Camera are the chase cameras of player 1's and
    // player 2's cars. Reads the file at once; a restart builds a new path to
    // pick up changes.
    CameraPath(Camera* flyCamera, Camera* player1Camera, Camera* player2Camera,
               const std::string& file = std::string(roomLayout::movementFolder) + "cameraPath.txt");
    virtual ~CameraPath() = default;
    CameraPath(const CameraPath&) = delete;
    CameraPath& operator=(const CameraPath&) = delete;

    // The camera to draw with at a race time, and whose car it rides with.
    struct Shot {
        Camera* camera;
        // 1 or 2: that player's chase camera; 0: the path's own camera,
        // which has then been placed.
        int followedPlayer;
    };
    Shot cameraAt(float time);

    bool usable() const { return isUsable; }

    // Reads one line into key, starting from CameraKey's defaults. True when
    // the line's last key=value token was accepted, i.e. the line is a key.
    static bool parseLine(const std::string& line, CameraKey& key);

    // The curve through p1 (u = 0) and p2 (u = 1), shaped by p0 and p3. Written
    // out rather than taken from GLM's spline extension so that it serves
    // quaternions component by component too, and so that u = 0 and u = 1
    // land exactly on the inner control points.
    template <typename Point>
    static Point catmullRom(const Point& p0, const Point& p1, const Point& p2, const Point& p3, float u)
    {
        const float u2 = u * u;
        const float u3 = u2 * u;
        return 0.5f * ((-u3 + 2.0f * u2 - u) * p0 + (3.0f * u3 - 5.0f * u2 + 2.0f) * p1 +
                       (-3.0f * u3 + 4.0f * u2 + u) * p2 + (u3 - u2) * p3);
    }

    Camera* const flyCamera;
    Camera* const player1Camera;
    Camera* const player2Camera;
    std::vector<CameraKey> keys; // in file order
    // Length of one pass in seconds: the time of the next-to-last key, or a
    // stand-in when the file does not give a usable one.
    float endTime = fallbackEndTime;

private:
    void readKeys(const std::string& file);
    // Empty when the keys make a usable path, else the first rule they break.
    std::string brokenRule() const;
    // The key ending the stretch that holds time t (in 1 ... count - 2).
    std::size_t stretchEnd(float t) const;
    // u: 0 at the stretch's start key, 1 at its end key.
    float stretchFraction(std::size_t end, float t) const;
    glm::vec3 curvePosition(std::size_t end, float t) const;
    glm::mat4 viewMatrix(std::size_t end, float t, float time) const;

    const std::string fileName;
    bool isUsable = false;
    bool reportedNoView = false; // said once per path, not every frame
};
