// The live count of GL objects kept by the owners' one make/delete pair:
// every owner created counts once, a move hands its object over without
// counting, and every way an owner lets go (destruction, reset, being moved
// onto) counts it back down.
#include "gl/GLObject.h"

#include "support/GLTestContext.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

namespace {

// The live count of every kind, to compare before and after.
std::array<long, glObjectKindCount> countsByKind()
{
    std::array<long, glObjectKindCount> counts{};
    for (int kind = 0; kind < glObjectKindCount; ++kind) {
        counts[static_cast<std::size_t>(kind)] = liveGLObjectCount(static_cast<GLObjectKind>(kind));
    }
    return counts;
}

// The counts now less `before`, kind by kind.
std::array<long, glObjectKindCount> changeSince(const std::array<long, glObjectKindCount>& before)
{
    std::array<long, glObjectKindCount> change = countsByKind();
    for (std::size_t i = 0; i < change.size(); ++i) {
        change[i] -= before[i];
    }
    return change;
}

std::array<long, glObjectKindCount> only(GLObjectKind kind, long count)
{
    std::array<long, glObjectKindCount> change{};
    change[static_cast<std::size_t>(kind)] = count;
    return change;
}

template <GLObjectKind Kind>
void expectOneOfItsKindWhileAlive()
{
    SCOPED_TRACE("kind " + std::to_string(static_cast<int>(Kind)));
    const auto before = countsByKind();
    const long totalBefore = liveGLObjectCount();
    {
        const GLObject<Kind> object = GLObject<Kind>::create();
        ASSERT_TRUE(object.created());
        EXPECT_EQ(changeSince(before), only(Kind, 1));
        EXPECT_EQ(liveGLObjectCount(), totalBefore + 1);
    }
    EXPECT_EQ(changeSince(before), only(Kind, 0));
    EXPECT_EQ(liveGLObjectCount(), totalBefore);
}

} // namespace

TEST(GLObjectCount, EveryKindCountsItsOwnObjectsUpOnCreateAndDownOnDestroy)
{
    GL_TEST_SETUP(context);
    expectOneOfItsKindWhileAlive<GLObjectKind::Texture>();
    expectOneOfItsKindWhileAlive<GLObjectKind::Framebuffer>();
    expectOneOfItsKindWhileAlive<GLObjectKind::Renderbuffer>();
    expectOneOfItsKindWhileAlive<GLObjectKind::Buffer>();
    expectOneOfItsKindWhileAlive<GLObjectKind::VertexArray>();
    expectOneOfItsKindWhileAlive<GLObjectKind::Query>();
    expectOneOfItsKindWhileAlive<GLObjectKind::Program>();
    expectOneOfItsKindWhileAlive<GLObjectKind::VertexShader>();
    expectOneOfItsKindWhileAlive<GLObjectKind::FragmentShader>();
    expectOneOfItsKindWhileAlive<GLObjectKind::GeometryShader>();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GLObjectCount, SeveralOwnersCountOneEachAndAllGoBackDown)
{
    GL_TEST_SETUP(context);
    const auto before = countsByKind();
    {
        std::vector<GLBuffer> buffers;
        for (int i = 0; i < 5; ++i) {
            buffers.push_back(GLBuffer::create());
        }
        const GLTexture texture = GLTexture::create();
        auto expected = only(GLObjectKind::Buffer, 5);
        expected[static_cast<std::size_t>(GLObjectKind::Texture)] = 1;
        EXPECT_EQ(changeSince(before), expected);
        buffers.pop_back();
        expected[static_cast<std::size_t>(GLObjectKind::Buffer)] = 4;
        EXPECT_EQ(changeSince(before), expected);
    }
    EXPECT_EQ(changeSince(before), only(GLObjectKind::Buffer, 0));
}

TEST(GLObjectCount, MovingHandsTheObjectOverWithoutCountingIt)
{
    GL_TEST_SETUP(context);
    const auto before = countsByKind();
    {
        GLTexture first = GLTexture::create();
        const GLuint name = first.id();
        GLTexture second(std::move(first));
        EXPECT_EQ(second.id(), name);
        EXPECT_FALSE(first.created());
        EXPECT_EQ(changeSince(before), only(GLObjectKind::Texture, 1));

        GLTexture third;
        third = std::move(second);
        EXPECT_EQ(third.id(), name);
        EXPECT_EQ(changeSince(before), only(GLObjectKind::Texture, 1));

        // A vector that grows moves its owners into new storage.
        std::vector<GLTexture> textures;
        for (int i = 0; i < 20; ++i) {
            textures.push_back(GLTexture::create());
        }
        EXPECT_EQ(changeSince(before), only(GLObjectKind::Texture, 21));
        textures.clear();

        // Moving an owner onto itself keeps its one object.
        GLTexture& alias = third;
        third = std::move(alias);
        EXPECT_EQ(third.id(), name);
        EXPECT_EQ(changeSince(before), only(GLObjectKind::Texture, 1));
    }
    EXPECT_EQ(changeSince(before), only(GLObjectKind::Texture, 0));
}

TEST(GLObjectCount, AnOwnerMovedOntoOrResetLetsItsObjectGoAndAnEmptyOneCountsNothing)
{
    GL_TEST_SETUP(context);
    const auto before = countsByKind();

    GLVertexArray kept = GLVertexArray::create();
    GLVertexArray replaced = GLVertexArray::create();
    EXPECT_EQ(changeSince(before), only(GLObjectKind::VertexArray, 2));
    // The owner moved onto deletes the object it held.
    replaced = std::move(kept);
    EXPECT_EQ(changeSince(before), only(GLObjectKind::VertexArray, 1));

    replaced.reset();
    EXPECT_EQ(changeSince(before), only(GLObjectKind::VertexArray, 0));
    // Resetting again, or an owner never created, deletes nothing.
    replaced.reset();
    {
        GLVertexArray empty;
        empty.reset();
        GLVertexArray movedFromEmpty(std::move(empty));
    }
    EXPECT_EQ(changeSince(before), only(GLObjectKind::VertexArray, 0));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
