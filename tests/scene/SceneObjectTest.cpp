#include "scene/SceneObject.h"

#include "scene/GlmExpectations.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

using glm_expectations::near;

namespace {

const glm::mat4 identity(1.0f);

// Stands in for the derived classes that keep state in step through the hook.
class CountingObject : public SceneObject {
public:
    void applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform) override
    {
        SceneObject::applyTransform(transform, inverseTransform);
        ++hookCalls;
    }

    int hookCalls = 0;
};

// Puts the frame time back after each test.
class SceneObjectTest : public ::testing::Test {
protected:
    void TearDown() override { deltaTime = savedDeltaTime; }

    double savedDeltaTime = deltaTime;
};

glm::vec3 position(const SceneObject& object)
{
    return glm::vec3((*object.modelMatrix)[3]);
}

glm::vec4 forward(const SceneObject& object)
{
    return *object.modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f);
}

} // namespace

TEST_F(SceneObjectTest, TransformationsActInTheObjectsOwnFrame)
{
    SceneObject object;
    object.translate(1.0f, 2.0f, 3.0f);
    object.rotateY(90.0f);
    EXPECT_TRUE(near(*object.modelMatrix * *object.inverseModelMatrix, identity));
    EXPECT_TRUE(near(position(object), glm::vec3(1.0f, 2.0f, 3.0f)));
    EXPECT_TRUE(near(forward(object), glm::vec4(-1.0f, 0.0f, 0.0f, 0.0f))) << "local -Z along world -X";

    // A step forward follows the heading, not the world axis.
    object.translate(0.0f, 0.0f, -1.0f);
    EXPECT_TRUE(near(position(object), glm::vec3(0.0f, 2.0f, 3.0f)));
    // Scaled after the turn, local (1, 0, 0) lands 2 units along world -Z.
    object.scale(2.0f, 3.0f, 4.0f);
    EXPECT_TRUE(near(glm::vec3(*object.modelMatrix * glm::vec4(1.0f, 0.0f, 0.0f, 1.0f)), glm::vec3(0.0f, 2.0f, 1.0f)));
    // The inverse stays exact through every kind of step.
    object.rotateX(30.0f);
    object.rotateZ(-75.0f);
    EXPECT_TRUE(near(*object.inverseModelMatrix, glm::inverse(*object.modelMatrix)));
}

TEST_F(SceneObjectTest, RatesAreScaledByTheFrameTimeAndEveryStepEndsInTheHook)
{
    CountingObject object;
    object.translate(4.0f, 5.0f, 6.0f);
    object.rotateY(20.0f);
    const glm::mat4 model = *object.modelMatrix;

    // Before the first frame there is no frame time: nothing moves, but the hook still runs.
    deltaTime = 0.0;
    object.translateOverTime(7.0f, 8.0f, 9.0f);
    object.rotateXOverTime(90.0f);
    object.rotateYOverTime(90.0f);
    object.rotateZOverTime(90.0f);
    EXPECT_EQ(*object.modelMatrix, model);
    EXPECT_EQ(object.hookCalls, 6);

    deltaTime = 0.5;
    object.resetTransform();
    object.translateOverTime(2.0f, 0.0f, -4.0f);
    EXPECT_TRUE(near(position(object), glm::vec3(1.0f, 0.0f, -2.0f)));
    object.rotateYOverTime(180.0f);
    EXPECT_TRUE(near(forward(object), glm::vec4(-1.0f, 0.0f, 0.0f, 0.0f)));
    object.rotateX(10.0f);
    object.rotateZ(10.0f);
    object.scale(2.0f, 2.0f, 2.0f);
    EXPECT_EQ(object.hookCalls, 11) << "reset is no transformation";
}

TEST_F(SceneObjectTest, PreviousMatricesChangeOnlyWhenStoredAndResetClearsAll)
{
    SceneObject object;
    object.translate(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(*object.previousModelMatrix, identity);

    object.storePreviousTransform();
    const glm::mat4 storedModel = *object.modelMatrix;
    const glm::mat4 storedInverse = *object.inverseModelMatrix;
    object.rotateY(45.0f);
    EXPECT_EQ(*object.previousModelMatrix, storedModel);
    EXPECT_EQ(*object.previousInverseModelMatrix, storedInverse);

    object.resetTransform();
    for (const glm::mat4* matrix : {object.modelMatrix, object.inverseModelMatrix, object.previousModelMatrix,
                                    object.previousInverseModelMatrix}) {
        EXPECT_EQ(*matrix, identity);
    }
}
