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

using Counts = std::array<long, glObjectKindCount>;

// The live count of every kind, less `before` when given.
Counts countsSince(const Counts& before = {})
{
    Counts counts{};
    for (int kind = 0; kind < glObjectKindCount; ++kind) {
        counts[static_cast<std::size_t>(kind)] =
            liveGLObjectCount(static_cast<GLObjectKind>(kind)) - before[static_cast<std::size_t>(kind)];
    }
    return counts;
}

// A change of `count` in one kind and none in the others.
Counts only(GLObjectKind kind, long count)
{
    Counts change{};
    change[static_cast<std::size_t>(kind)] = count;
    return change;
}

template <GLObjectKind... Kinds>
void expectEachKindCountsItsOwnObjects()
{
    (
        [] {
            SCOPED_TRACE("kind " + std::to_string(static_cast<int>(Kinds)));
            const Counts before = countsSince();
            const long totalBefore = liveGLObjectCount();
            {
                const GLObject<Kinds> object = GLObject<Kinds>::create();
                EXPECT_TRUE(object.created());
                EXPECT_EQ(countsSince(before), only(Kinds, 1));
                EXPECT_EQ(liveGLObjectCount(), totalBefore + 1);
            }
            EXPECT_EQ(countsSince(before), only(Kinds, 0));
        }(),
        ...);
}

} // namespace

TEST(GLObjectCount, EveryKindCountsItsOwnObjectsUpOnCreateAndDownOnDestroy)
{
    GL_TEST_SETUP(context);
    using enum GLObjectKind;
    expectEachKindCountsItsOwnObjects<Texture, Framebuffer, Renderbuffer, Buffer, VertexArray, Query, Program,
                                      VertexShader, FragmentShader, GeometryShader>();

    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GLObjectCount, MovingHandsTheObjectOverAndLettingGoCountsItDownOnce)
{
    GL_TEST_SETUP(context);
    const Counts before = countsSince();
    {
        GLTexture first = GLTexture::create();
        const GLuint name = first.id();
        GLTexture second(std::move(first));
        EXPECT_EQ(second.id(), name);
        EXPECT_FALSE(first.created());
        GLTexture third;
        third = std::move(second);
        EXPECT_EQ(third.id(), name);
        EXPECT_EQ(countsSince(before), only(GLObjectKind::Texture, 1));

        // A vector that grows moves its owners into new storage; one that shrinks lets them go.
        std::vector<GLTexture> textures;
        for (int i = 0; i < 20; ++i) {
            textures.push_back(GLTexture::create());
        }
        EXPECT_EQ(countsSince(before), only(GLObjectKind::Texture, 21));
        textures.pop_back();
        EXPECT_EQ(countsSince(before), only(GLObjectKind::Texture, 20));
        textures.clear();

        // Moving an owner onto itself keeps its one object.
        GLTexture& alias = third;
        third = std::move(alias);
        EXPECT_EQ(third.id(), name);
        EXPECT_EQ(countsSince(before), only(GLObjectKind::Texture, 1));
    }
    EXPECT_EQ(countsSince(before), only(GLObjectKind::Texture, 0));

    // The owner moved onto deletes the object it held; resetting again, or an
    // owner never created, deletes nothing.
    GLVertexArray kept = GLVertexArray::create();
    GLVertexArray replaced = GLVertexArray::create();
    replaced = std::move(kept);
    EXPECT_EQ(countsSince(before), only(GLObjectKind::VertexArray, 1));
    replaced.reset();
    replaced.reset();
    {
        GLVertexArray empty;
        empty.reset();
        GLVertexArray movedFromEmpty(std::move(empty));
    }
    EXPECT_EQ(countsSince(before), only(GLObjectKind::VertexArray, 0));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
