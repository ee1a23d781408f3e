#include "render/GLError.h"

#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

// Stands in for the GL's error query so that several queued errors can be
// replayed on any driver (Mesa keeps only the first error until it is read).
std::deque<GLenum> fakeErrorQueue;

GLenum EPOXY_CALLSPEC takeFakeError()
{
    if (fakeErrorQueue.empty()) {
        return GL_NO_ERROR;
    }
    GLenum error = fakeErrorQueue.front();
    fakeErrorQueue.pop_front();
    return error;
}

class FakeErrorQueue {
public:
    explicit FakeErrorQueue(std::deque<GLenum> errors) : saved(epoxy_glGetError)
    {
        fakeErrorQueue = std::move(errors);
        epoxy_glGetError = takeFakeError;
    }
    ~FakeErrorQueue()
    {
        epoxy_glGetError = saved;
        fakeErrorQueue.clear();
    }
    FakeErrorQueue(const FakeErrorQueue&) = delete;
    FakeErrorQueue& operator=(const FakeErrorQueue&) = delete;

private:
    decltype(epoxy_glGetError) saved;
};

std::string reportOfOneCall()
{
    CaptureStderr();
    checkGLError();
    return GetCapturedStderr();
}

} // namespace

TEST(GLError, TextForEveryErrorCode)
{
    EXPECT_EQ(glErrorMessage(GL_INVALID_ENUM), "GL: enum argument out of range.");
    EXPECT_EQ(glErrorMessage(GL_INVALID_VALUE), "GL: Numeric argument out of range.");
    EXPECT_EQ(glErrorMessage(GL_INVALID_OPERATION), "GL: Operation illegal in current state.");
    EXPECT_EQ(glErrorMessage(GL_OUT_OF_MEMORY), "GL: Not enough memory left to execute command.");
    EXPECT_EQ(glErrorMessage(GL_INVALID_FRAMEBUFFER_OPERATION), "GL: Framebuffer object is not complete.");
    EXPECT_EQ(glErrorMessage(0x503), "GL: Unknown error.");
    EXPECT_EQ(glErrorMessage(0x504), "GL: Unknown error.");
    EXPECT_EQ(glErrorMessage(0x1234), "GL: Unknown error.");
}

TEST(GLError, EachCallReportsOneQueuedErrorInOrder)
{
    FakeErrorQueue queue({GL_INVALID_ENUM, GL_INVALID_VALUE});
    EXPECT_EQ(reportOfOneCall(), "GL: enum argument out of range.\n");
    EXPECT_EQ(reportOfOneCall(), "GL: Numeric argument out of range.\n");
    EXPECT_EQ(reportOfOneCall(), "");
}

TEST(GLError, StackErrorsAreUnknown)
{
    FakeErrorQueue queue({0x503, 0x504, GL_OUT_OF_MEMORY});
    EXPECT_EQ(reportOfOneCall(), "GL: Unknown error.\n");
    EXPECT_EQ(reportOfOneCall(), "GL: Unknown error.\n");
    EXPECT_EQ(reportOfOneCall(), "GL: Not enough memory left to execute command.\n");
    EXPECT_EQ(reportOfOneCall(), "");
}

TEST(GLError, NoErrorPrintsNothing)
{
    GL_TEST_SETUP(context);
    EXPECT_EQ(reportOfOneCall(), "");
}

TEST(GLError, ErrorsFromTheDriverAreReportedOnePerCall)
{
    GL_TEST_SETUP(context);
    glEnable(0xFFFF);                    // not a capability: GL_INVALID_ENUM
    glBindFragDataLocation(0, 0, "out"); // no such program: GL_INVALID_VALUE
    EXPECT_EQ(reportOfOneCall(), "GL: enum argument out of range.\n");
    // Drivers may keep only the first error until it is read; one that keeps
    // both must hand the second to the next call.
    std::string second = reportOfOneCall();
    EXPECT_TRUE(second.empty() || second == "GL: Numeric argument out of range.\n") << second;
    EXPECT_EQ(reportOfOneCall(), "");
}
