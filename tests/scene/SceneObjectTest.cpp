#include "scene/SceneObject.h"

#include "app/Settings.h"
#include "scene/GlmExpectations.h"

#include <glm/gtc/matrix_transform.hpp>
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

class SceneObjectTest : public ::testing::Test {
protected:
    void TearDown() override { deltaTime = savedDeltaTime; }

    double savedDeltaTime = deltaTime;
};

glm::vec3 position(const SceneObject& object)
{
    return glm::vec3((*object.modelMatrix)[3]);
}

void expectAllIdentity(const SceneObject& object)
{
    EXPECT_TRUE(near(*object.modelMatrix, identity));
    EXPECT_TRUE(near(*object.inverseModelMatrix, identity));
    EXPECT_TRUE(near(*object.previousModelMatrix, identity));
    EXPECT_TRUE(near(*object.previousInverseModelMatrix, identity));
}

} // namespace

TEST_F(SceneObjectTest, TransformationsActInTheObjectsOwnFrame)
{
    SceneObject object;
    expectAllIdentity(object);

    object.translate(1.0f, 2.0f, 3.0f);
    object.rotateY(90.0f);
    EXPECT_TRUE(near(*object.modelMatrix * *object.inverseModelMatrix, identity));
    EXPECT_TRUE(near(*object.inverseModelMatrix * *object.modelMatrix, identity));
    EXPECT_TRUE(near(position(object), glm::vec3(1.0f, 2.0f, 3.0f)));
    // Forward (local -Z) now points along world -X.
    const glm::vec4 forward = *object.modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f);
    EXPECT_TRUE(near(forward, glm::vec4(-1.0f, 0.0f, 0.0f, 0.0f)));

    // A step forward follows the heading, not the world axis.
    object.translate(0.0f, 0.0f, -1.0f);
    EXPECT_TRUE(near(position(object), glm::vec3(0.0f, 2.0f, 3.0f)));
    object.rotateX(30.0f);
    object.rotateZ(-75.0f);
    EXPECT_TRUE(near(*object.modelMatrix * *object.inverseModelMatrix, identity));
}

TEST_F(SceneObjectTest, EveryTransformationEndsInTheHook)
{
    CountingObject object;
    deltaTime = 0.5;
    object.translateOverTime(1.0f, 0.0f, 0.0f);
    object.rotateXOverTime(10.0f);
    object.rotateYOverTime(10.0f);
    object.rotateZOverTime(10.0f);
    object.translate(1.0f, 0.0f, 0.0f);
    object.rotateX(10.0f);
    object.rotateY(10.0f);
    object.rotateZ(10.0f);
    object.scale(2.0f, 2.0f, 2.0f);
    EXPECT_EQ(object.hookCalls, 9);

    // Neither reset nor store is a transformation.
    object.resetTransform();
    object.storePreviousTransform();
    EXPECT_EQ(object.hookCalls, 9);
}

TEST_F(SceneObjectTest, RatesAreScaledByTheFrameTime)
{
    CountingObject object;
    object.translate(4.0f, 5.0f, 6.0f);
    object.rotateY(20.0f);
    const glm::mat4 model = *object.modelMatrix;
    const glm::mat4 inverse = *object.inverseModelMatrix;

    // Before the first frame there is no frame time: nothing moves, but the
    // hook still runs.
    deltaTime = 0.0;
    object.hookCalls = 0;
    object.translateOverTime(7.0f, 8.0f, 9.0f);
    object.rotateXOverTime(90.0f);
    object.rotateYOverTime(90.0f);
    object.rotateZOverTime(90.0f);
    EXPECT_EQ(object.hookCalls, 4);
    EXPECT_EQ(*object.modelMatrix, model);
    EXPECT_EQ(*object.inverseModelMatrix, inverse);

    deltaTime = 0.5;
    object.resetTransform();
    object.translateOverTime(2.0f, 0.0f, -4.0f);
    EXPECT_TRUE(near(position(object), glm::vec3(1.0f, 0.0f, -2.0f)));
    object.rotateYOverTime(180.0f);
    const glm::vec4 forward = *object.modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f);
    EXPECT_TRUE(near(forward, glm::vec4(-1.0f, 0.0f, 0.0f, 0.0f)));
    EXPECT_TRUE(near(*object.modelMatrix * *object.inverseModelMatrix, identity));
}

TEST_F(SceneObjectTest, PlacementComposesAsTranslateTurnScale)
{
    SceneObject object;
    object.translate(5.0f, 0.0f, -2.0f);
    object.rotateY(90.0f);
    object.scale(2.0f, 3.0f, 4.0f);

    const glm::mat4 expected =
        glm::translate(identity, glm::vec3(5.0f, 0.0f, -2.0f)) *
        glm::rotate(identity, glm::radians(90.0f), glm::vec3(0.0f, 1.0f, 0.0f)) *
        glm::scale(identity, glm::vec3(2.0f, 3.0f, 4.0f));
    EXPECT_TRUE(near(*object.modelMatrix, expected));
    // Scaled first, then turned, then moved: local (1, 0, 0) becomes 2 units
    // along world -Z from the placement point.
    const glm::vec4 point = *object.modelMatrix * glm::vec4(1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(near(point, glm::vec4(5.0f, 0.0f, -4.0f, 1.0f)));
}

TEST_F(SceneObjectTest, ScaleKeepsTheInverseExact)
{
    SceneObject object;
    object.rotateX(35.0f);
    object.scale(2.0f, 4.0f, 0.5f);
    object.translate(1.0f, -1.0f, 3.0f);
    EXPECT_TRUE(near(*object.modelMatrix * *object.inverseModelMatrix, identity));
    EXPECT_TRUE(near(*object.inverseModelMatrix, glm::inverse(*object.modelMatrix)));
}

TEST_F(SceneObjectTest, PreviousMatricesChangeOnlyWhenStored)
{
    SceneObject object;
    object.translate(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(*object.previousModelMatrix, identity);
    EXPECT_EQ(*object.previousInverseModelMatrix, identity);

    object.storePreviousTransform();
    const glm::mat4 storedModel = *object.modelMatrix;
    const glm::mat4 storedInverse = *object.inverseModelMatrix;
    EXPECT_EQ(*object.previousModelMatrix, storedModel);
    EXPECT_EQ(*object.previousInverseModelMatrix, storedInverse);

    object.rotateY(45.0f);
    object.scale(2.0f, 2.0f, 2.0f);
    EXPECT_EQ(*object.previousModelMatrix, storedModel);
    EXPECT_EQ(*object.previousInverseModelMatrix, storedInverse);
}

TEST_F(SceneObjectTest, ResetClearsAllFourMatrices)
{
    SceneObject object;
    object.translate(1.0f, 2.0f, 3.0f);
    object.storePreviousTransform();
    object.rotateZ(60.0f);

    object.resetTransform();
    expectAllIdentity(object);
    object.storePreviousTransform();
    expectAllIdentity(object);
}
