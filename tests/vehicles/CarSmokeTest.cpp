#include "effects/Smoke.h"
#include "gl/Shader.h"
#include "vehicles/Car.h"

#include "scene/GlmExpectations.h"
#include "support/GLTestContext.h"
#include "vehicles/VehicleTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using glm_expectations::near;
using namespace vehicletest;

TEST(CarSmoke, TheCarFeedsItsSmokeFromBothPipesBackwards)
{
    GL_TEST_SETUP(context);
    FrameTimeGuard frameTime;
    Shader program(BRIMBOLT_SOURCE_DIR "/brimbolt/Shaders/particleShader");
    std::srand(9);
    Car car;
    car.setSmoke(new Smoke(program, 0));
    EXPECT_TRUE(car.hasSmoke);
    car.exhaustPoint1 = glm::vec4(-0.2f, -0.05f, 1.1f, 1.0f);
    car.exhaustPoint2 = glm::vec4(0.2f, -0.05f, 1.1f, 1.0f);
    car.translate(4.0f, 0.0f, 2.0f);
    car.rotateY(90.0f);

    // A step long enough that every puff respawns at the pipes fed this frame.
    deltaTime = 0.1;
    *car.speed = 5.0f;
    car.updateMotion();

    const glm::vec3 pipe1(*car.modelMatrix * car.exhaustPoint1);
    const glm::vec3 pipe2(*car.modelMatrix * car.exhaustPoint2);
    EXPECT_TRUE(near(car.smoke->emitterA, pipe1, 1e-5f));
    EXPECT_TRUE(near(car.smoke->emitterB, pipe2, 1e-5f));
    // The car faces -X after the quarter turn, so its exhaust blows towards +X.
    EXPECT_TRUE(near(car.smoke->emitDirection, glm::vec3(1.0f, 0.0f, 0.0f), 1e-5f));
    EXPECT_LE(glm::length(car.smoke->particles[1].position - pipe1), 0.087f);
    EXPECT_LE(glm::length(car.smoke->particles[2].position - pipe2), 0.087f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    // The car deletes its smoke while the context is still current.
}
