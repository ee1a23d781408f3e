#include "scene/CameraPath.h"

#include "scene/GlmExpectations.h"
#include "support/ScratchDir.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

using glm_expectations::near;

namespace {

// Keys at 0, 5, 10 and 15 s: player 1's chase camera, a flight by rotations,
// player 2's chase camera and a look-at key that only ends the path.
const char* const fourKeys =
    "time=0 method=0 position=0,0,0 rotation=1,0,0,0\n"
    "time=5 method=3 position=10,0,0 rotation=1,0,0,0\n"
    "time=10 method=4 position=20,5,0 rotation=0.8,0,0.6,0\n"
    "time=15 method=1 position=30,0,10 rotation=0,0,1,0 lookat=0,0,0\n";

glm::vec3 eyeOf(const Camera& camera)
{
    return glm::vec3((*camera.modelMatrix)[3]);
}

glm::vec3 forwardOf(const Camera& camera)
{
    return -glm::normalize(glm::vec3((*camera.modelMatrix)[2]));
}

// Three cameras that stand in for the path's own and the two cars' chase cameras.
class CameraPathTest : public ::testing::Test {
protected:
    // Writes the text as a camera path file and reads it; what the path
    // printed while reading is kept in `printed`.
    std::unique_ptr<CameraPath> load(const std::string& text)
    {
        file = scratch.write("cameraPath.txt", text).string();
        return loadFile(file);
    }

    std::unique_ptr<CameraPath> loadFile(const std::string& path)
    {
        testing::internal::CaptureStdout();
        auto cameraPath = std::make_unique<CameraPath>(&fly, &player1, &player2, path);
        printed = testing::internal::GetCapturedStdout();
        return cameraPath;
    }

    void expectView(CameraPath& path, float time, const Camera* camera, int mode)
    {
        const CameraPath::Shot shot = path.cameraAt(time);
        EXPECT_EQ(shot.camera, camera) << "at " << time << " s";
        EXPECT_EQ(shot.followedPlayer, mode) << "at " << time << " s";
    }

    ScratchDir scratch{"brimbolt_camera_path"};
    std::string file;
    std::string printed;
    Camera fly;
    Camera player1;
    Camera player2;
};

} // namespace

// A line is a key when its last key=value token is accepted. Every line
// starts from the defaults; a rejected token (an unknown or empty name, a
// position, lookat or rotation without exactly its count of numbers, an empty
// number) leaves its field as it was, and drops the line only when it is the
// last; a token without "=" is passed over. Any method number is read as
// given: the path parks its camera for those it does not know.
TEST(CameraPathLine, ReadsEachTokenAsTheReaderSaysAndStartsFromTheDefaults)
{
    CameraKey key;
    ASSERT_TRUE(CameraPath::parseLine("time=2.5 method=3 position=0,10,20 rotation=0.5,1,2,3 lookat=4,5,6", key));
    EXPECT_FLOAT_EQ(key.time, 2.5f);
    EXPECT_EQ(key.method, CameraMethod::FlyByRotation);
    EXPECT_EQ(key.position, glm::vec3(0.0f, 10.0f, 20.0f));
    EXPECT_EQ(key.rotation, glm::quat(0.5f, 1.0f, 2.0f, 3.0f)) << "w comes first in the file";
    EXPECT_EQ(key.lookAt, glm::vec3(4.0f, 5.0f, 6.0f));
    EXPECT_TRUE(key.hasLookAt);

    const CameraKey full = key;
    for (const char* line : {"time=7", "position=1,2 position=1,2,3,4 position=1,,3 lookat=1,2 lookat=1,2,3,4 time=7",
                             "rotation=1,0,0 rotation=1,0,0,0,0 rotation=,0,0,0 note foo=1 Method=2 =2 time=7"}) {
        SCOPED_TRACE(line);
        key = full;
        ASSERT_TRUE(CameraPath::parseLine(line, key));
        EXPECT_FLOAT_EQ(key.time, 7.0f);
        EXPECT_EQ(key.method, CameraMethod::LookAtPoint);
        EXPECT_EQ(key.position, glm::vec3(0.0f));
        EXPECT_EQ(key.lookAt, glm::vec3(0.0f));
        EXPECT_FALSE(key.hasLookAt);
        EXPECT_EQ(key.rotation, glm::quat(0.0f, 0.0f, 0.0f, 0.0f));
    }
    ASSERT_TRUE(CameraPath::parseLine("time=1\tlookat=1,2,3\r", key)) << "tabs and a carriage return are white space";
    EXPECT_TRUE(key.hasLookAt);
    ASSERT_TRUE(CameraPath::parseLine("method=0", key));
    EXPECT_FLOAT_EQ(key.time, -1.0f);
    for (const int method : {7, -1}) {
        ASSERT_TRUE(CameraPath::parseLine("time=1 method=" + std::to_string(method) + " note", key));
        EXPECT_EQ(static_cast<int>(key.method), method);
    }
    for (const char* line : {"time=4 foo=1", "time=4 position=1,2", "time=4 position=1,2,3,4", "time=4 position=1,2,",
                             "time=4 lookat=1,2", "time=4 lookat=1", "time=4 rotation=1,0,0", "time=4 Method=2",
                             "TIME=4", "time=4 =2", "time", "", "   "}) {
        EXPECT_FALSE(CameraPath::parseLine(line, key)) << "'" << line << "'";
    }
}

TEST_F(CameraPathTest, FourKeyPathRidesTheChaseCamerasAndFliesBetween)
{
    const auto path = load(fourKeys);
    EXPECT_TRUE(path->usable());
    EXPECT_EQ(printed, "") << "a usable path reads silently";
    ASSERT_EQ(path->keys.size(), 4u);
    EXPECT_FLOAT_EQ(path->endTime, 10.0f);

    expectView(*path, 2.0f, &player1, 1);
    expectView(*path, 12.0f, &player1, 1); // 2 s into the second pass
    expectView(*path, 7.0f, &fly, 0);

    // 7 s lies between keys 1 and 2 at u = 0.4, where the curve weights of
    // keys 0 to 3 are -0.072, 0.696, 0.424 and -0.048.
    const glm::vec3 eye(10.0f * 0.696f + 20.0f * 0.424f + 30.0f * -0.048f, 5.0f * 0.424f, 10.0f * -0.048f);
    EXPECT_TRUE(near(eye, glm::vec3(14.0f, 2.12f, -0.48f)));
    // The rotations blend the same way, component by component: w = -0.072 +
    // 0.696 + 0.424 * 0.8, y = 0.424 * 0.6 - 0.048. Not re-normalised, so the
    // matrix is not quite a rotation; a normalised one would fail this.
    const glm::quat blended(0.9632f, 0.0f, 0.2064f, 0.0f);
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), eye) * glm::mat4_cast(blended);
    EXPECT_TRUE(near(*fly.modelMatrix, model, 1e-4f));
    EXPECT_TRUE(near(*fly.inverseModelMatrix, glm::inverse(model), 1e-4f));
    EXPECT_FALSE(near(glm::mat4_cast(blended), glm::mat4_cast(glm::normalize(blended)), 1e-3f));
}

TEST_F(CameraPathTest, PlayerTwosStretchAndUnknownMethods)
{
    const auto path = load("time=0 method=4 position=0,0,0\n"
                           "time=5 method=7 position=10,0,0\n"
                           "time=10 method=4 position=20,0,0\n"
                           "time=15 method=1 position=30,0,0\n" // never shown: needs no "lookat"
                           "time=20 method=0 position=40,0,0\n");
    ASSERT_TRUE(path->usable());
    EXPECT_FLOAT_EQ(path->endTime, 15.0f);
    expectView(*path, 1.0f, &player2, 2);
    expectView(*path, 12.0f, &player2, 2);

    fly.translate(3.0f, 4.0f, 5.0f);
    expectView(*path, 6.0f, &fly, 0);
    EXPECT_TRUE(near(*fly.modelMatrix, glm::mat4(1.0f))) << "an unknown method parks the camera at the origin";
    EXPECT_TRUE(near(*fly.inverseModelMatrix, glm::mat4(1.0f)));
}

TEST(CameraPathCurve, LandsExactlyOnTheKeys)
{
    const glm::vec3 p0(-3.0f, 7.0f, 1.5f), p1(10.25f, -2.0f, 4.0f), p2(17.0f, 5.5f, -8.0f), p3(30.0f, 0.0f, 10.0f);
    EXPECT_EQ(CameraPath::catmullRom(p0, p1, p2, p3, 0.0f), p1);
    EXPECT_EQ(CameraPath::catmullRom(p0, p1, p2, p3, 1.0f), p2);
    const glm::quat q0(0.3f, 0.1f, -0.2f, 0.9f), q1(1.0f, 0.0f, 0.0f, 0.0f), q2(0.8f, 0.0f, 0.6f, 0.0f),
        q3(0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_EQ(CameraPath::catmullRom(q0, q1, q2, q3, 0.0f), q1);
    EXPECT_EQ(CameraPath::catmullRom(q0, q1, q2, q3, 1.0f), q2);
}

TEST_F(CameraPathTest, LookAtKeysFaceTheirPointUpright)
{
    const auto path = load("time=0 method=0 position=0,0,0\n"
                           "time=5 method=1 position=10,2,0 lookat=-20,0,-40\n"
                           "time=10 method=1 position=20,4,10 lookat=50,-5,5\n"
                           "time=15 method=0 position=30,2,0\n");
    ASSERT_TRUE(path->usable());
    for (float time : {5.0f, 6.5f, 9.9f}) {
        expectView(*path, time, &fly, 0);
        const glm::vec3 expected = glm::normalize(glm::vec3(-20.0f, 0.0f, -40.0f) - eyeOf(fly));
        EXPECT_TRUE(near(forwardOf(fly), expected, 1e-4f)) << "at " << time << " s";
        EXPECT_NEAR((*fly.modelMatrix)[0].y, 0.0f, 1e-5f) << "no roll";
        EXPECT_GT((*fly.modelMatrix)[1].y, 0.0f) << "upright";
    }
}

// A look-along stretch aims where the curve will be a moment later, also
// across a key; just before the end of a pass it still looks ahead within
// the keys, not back to the start of the path.
TEST_F(CameraPathTest, LookAlongKeysFaceDownTheCurveUpToTheWrap)
{
    const auto path = load("time=0 method=0 position=0,0,0\n"
                           "time=5 method=2 position=10,0,0\n"
                           "time=10 method=2 position=20,3,-10\n"
                           "time=15 method=0 position=25,6,-25\n"
                           "time=20 method=0 position=40,6,-30\n");
    ASSERT_TRUE(path->usable());
    for (float time : {5.0f, 7.5f, 9.995f, 12.0f}) {
        // Where the eye will be 0.01 s later, whichever stretch that falls in.
        expectView(*path, time + 0.01f, &fly, 0);
        const glm::vec3 ahead = eyeOf(fly);
        expectView(*path, time, &fly, 0);
        EXPECT_TRUE(near(forwardOf(fly), glm::normalize(ahead - eyeOf(fly)), 2e-3f)) << "at " << time << " s";
    }

    // Evenly spaced keys on a line make the curve a straight run along +x.
    const auto straight = load("time=0 method=0 position=0,0,0\n"
                               "time=5 method=2 position=10,0,0\n"
                               "time=10 method=2 position=20,0,0\n"
                               "time=15 method=0 position=30,0,0\n");
    ASSERT_TRUE(straight->usable());
    expectView(*straight, 9.995f, &fly, 0);
    EXPECT_TRUE(near(forwardOf(fly), glm::vec3(1.0f, 0.0f, 0.0f), 1e-3f));
    EXPECT_TRUE(near(eyeOf(fly), glm::vec3(19.99f, 0.0f, 0.0f), 1e-3f));
}

TEST_F(CameraPathTest, BrokenFilesAreReportedAndShowPlayerOne)
{
    struct BrokenFile {
        const char* what;
        const char* text; // nullptr: no file at all
        const char* rule;
        float endTime;
    };
    const BrokenFile cases[] = {
        {"missing file", nullptr, "at least three keys, found 0", CameraPath::fallbackEndTime},
        {"empty file", "", "at least three keys, found 0", CameraPath::fallbackEndTime},
        {"two keys", "time=0 method=0\ntime=5 method=0\n", "at least three keys, found 2", CameraPath::fallbackEndTime},
        {"repeated time", "time=0 method=0\ntime=5 method=3\ntime=5 method=3\ntime=8 method=0\n",
         "key times must increase (key 2 at 5.0 after 5.0)", 5.0f},
        {"falling time", "time=0 method=0\ntime=5 method=0\ntime=2.5 method=0\ntime=8 method=0\n",
         "key times must increase (key 2 at 2.5 after 5.0)", 2.5f},
        {"time not a number", "time=0 method=0\ntime=nan method=0\ntime=8 method=0\n", "key times must be finite",
         CameraPath::fallbackEndTime},
        {"no positive length", "time=-9 method=0\ntime=-5 method=0\ntime=0 method=0\n",
         "next-to-last key's time must be positive", CameraPath::fallbackEndTime},
        {"flown first stretch", "time=0 method=3\ntime=5 method=0\ntime=10 method=0\n",
         "first stretch must show a chase camera", 5.0f},
        {"look-at key without a point",
         "time=0 method=0\ntime=5 method=1 position=1,2,3\ntime=10 method=0\ntime=15 method=0\n",
         "method 1 key needs a \"lookat\" (key 1 has none)", 10.0f},
        // Numbers that would fill the view with infinities or NaN.
        {"position not a number", "time=0 method=0\ntime=5 method=2 position=nan,0,0\ntime=10 method=0\ntime=15 method=0\n",
         "numbers must be finite and within 1e+06 (key 1 position)", 10.0f},
        {"position far away", "time=0 method=0\ntime=5 method=2\ntime=10 method=0 position=1e30,1e30,1e30\ntime=15 method=0\n",
         "numbers must be finite and within 1e+06 (key 2 position)", 10.0f},
        {"infinite look-at point",
         "time=0 method=0\ntime=5 method=1 position=1,2,3 lookat=inf,0,0\ntime=10 method=0\ntime=15 method=0\n",
         "(key 1 lookat)", 10.0f},
        {"rotation not a number",
         "time=0 method=0\ntime=5 method=3 rotation=nan,0,0,0\ntime=10 method=0\ntime=15 method=0\n",
         "(key 1 rotation)", 10.0f},
        {"flown by rotation without one",
         "time=0 method=0\ntime=5 method=3 position=1,2,3\ntime=10 method=0\ntime=15 method=0\n",
         "method 3 key needs a \"rotation\" (key 1 has none)", 10.0f},
    };
    for (const BrokenFile& broken : cases) {
        SCOPED_TRACE(broken.what);
        const std::string expectedFile =
            broken.text ? (scratch.path() / "cameraPath.txt").string() : (scratch.path() / "absent.txt").string();
        const auto path = broken.text ? load(broken.text) : loadFile(expectedFile);
        EXPECT_FALSE(path->usable());

        EXPECT_EQ(printed.rfind("Camera path '" + expectedFile + "': ", 0), 0u) << printed;
        EXPECT_NE(printed.find(broken.rule), std::string::npos) << printed;
        EXPECT_NE(printed.find("; showing player 1's chase camera.\n"), std::string::npos) << printed;
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;

        EXPECT_TRUE(std::isfinite(path->endTime) && path->endTime > 0.0f) << path->endTime;
        EXPECT_FLOAT_EQ(path->endTime, broken.endTime);
        for (float time : {0.0f, 2.0f, 5.0f, 7.0f, 12.0f, 139.0f, 500.0f, -3.0f}) {
            expectView(*path, time, &player1, 1);
        }
        EXPECT_TRUE(near(*fly.modelMatrix, glm::mat4(1.0f))) << "the path camera stays where it was";
    }
}

// A usable path can still aim a look-at stretch straight down, or at the eye
// itself: there is no view there, so the path camera holds its last one,
// reports that once, and never takes a matrix of NaN.
TEST_F(CameraPathTest, NoViewHoldsTheLastOneAndIsReportedOnce)
{
    // The eye stays at (0, 10, 0) all along.
    const auto path = load("time=0 method=0 position=0,10,0\n"
                           "time=5 method=1 position=0,10,0 lookat=0,0,5\n"
                           "time=6 method=1 position=0,10,0 lookat=0,0,0\n"
                           "time=8 method=1 position=0,10,0 lookat=0,10,0\n"
                           "time=10 method=0 position=0,10,0\n"
                           "time=12 method=0\n");
    ASSERT_TRUE(path->usable()) << printed;
    expectView(*path, 5.5f, &fly, 0);
    const glm::mat4 lastGood = *fly.modelMatrix;
    ASSERT_TRUE(near(eyeOf(fly), glm::vec3(0.0f, 10.0f, 0.0f)));

    testing::internal::CaptureStdout();
    expectView(*path, 6.0f, &fly, 0); // straight down
    expectView(*path, 8.0f, &fly, 0); // at the eye
    const std::string report = testing::internal::GetCapturedStdout();
    EXPECT_EQ(report, "Camera path '" + file +
                          "': no view at 6.0 s (looking straight up or down, or at the eye); the camera holds still "
                          "there.\n");
    EXPECT_TRUE(near(*fly.modelMatrix, lastGood));
    EXPECT_TRUE(near(*fly.inverseModelMatrix, glm::inverse(lastGood), 1e-4f));
}

// Each restart reads the path again: the same fault is reported once, and
// again after a good path was read in between.
TEST_F(CameraPathTest, TheSameBrokenPathIsReportedOnceUntilAGoodOneIsRead)
{
    const std::string broken = "time=0 method=0\ntime=5 method=0\n";
    load(broken);
    EXPECT_NE(printed.find("at least three keys, found 2"), std::string::npos) << printed;
    load(broken);
    EXPECT_EQ(printed, "");
    load(fourKeys);
    EXPECT_EQ(printed, "");
    load(broken);
    EXPECT_NE(printed.find("at least three keys, found 2"), std::string::npos) << printed;
}
