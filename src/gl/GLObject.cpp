#include "gl/GLObject.h"

#include <array>
#include <cstddef>

namespace {

// Only touched with a context current, and GL calls of one context come from
// one thread, so plain counters are enough.
std::array<long, glObjectKindCount> liveCounts{};

long& liveCount(GLObjectKind kind)
{
    return liveCounts[static_cast<std::size_t>(kind)];
}

} // namespace

GLuint createGLObjectName(GLObjectKind kind)
{
    GLuint name = 0;
    switch (kind) {
    case GLObjectKind::Texture:
        glGenTextures(1, &name);
        break;
    case GLObjectKind::Framebuffer:
        glGenFramebuffers(1, &name);
        break;
    case GLObjectKind::Renderbuffer:
        glGenRenderbuffers(1, &name);
        break;
    case GLObjectKind::Buffer:
        glGenBuffers(1, &name);
        break;
    case GLObjectKind::VertexArray:
        glGenVertexArrays(1, &name);
        break;
    case GLObjectKind::Query:
        glGenQueries(1, &name);
        break;
    case GLObjectKind::Program:
        name = glCreateProgram();
        break;
    case GLObjectKind::VertexShader:
        name = glCreateShader(GL_VERTEX_SHADER);
        break;
    case GLObjectKind::FragmentShader:
        name = glCreateShader(GL_FRAGMENT_SHADER);
        break;
    case GLObjectKind::GeometryShader:
        name = glCreateShader(GL_GEOMETRY_SHADER);
        break;
    }
    // A failed create (no context, out of memory) gives 0 and owns nothing.
    if (name != 0) {
        ++liveCount(kind);
    }
    return name;
}

void deleteGLObjectName(GLObjectKind kind, GLuint name)
{
    switch (kind) {
    case GLObjectKind::Texture:
        glDeleteTextures(1, &name);
        break;
    case GLObjectKind::Framebuffer:
        glDeleteFramebuffers(1, &name);
        break;
    case GLObjectKind::Renderbuffer:
        glDeleteRenderbuffers(1, &name);
        break;
    case GLObjectKind::Buffer:
        glDeleteBuffers(1, &name);
        break;
    case GLObjectKind::VertexArray:
        glDeleteVertexArrays(1, &name);
        break;
    case GLObjectKind::Query:
        glDeleteQueries(1, &name);
        break;
    case GLObjectKind::Program:
        glDeleteProgram(name);
        break;
    case GLObjectKind::VertexShader:
    case GLObjectKind::FragmentShader:
    case GLObjectKind::GeometryShader:
        glDeleteShader(name);
        break;
    }
    if (name != 0) {
        --liveCount(kind);
    }
}

long liveGLObjectCount(GLObjectKind kind)
{
    return liveCount(kind);
}

long liveGLObjectCount()
{
    long total = 0;
    for (long count : liveCounts) {
        total += count;
    }
    return total;
}
