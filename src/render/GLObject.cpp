#include "render/GLObject.h"

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
    case GLObjectKind::Buffer:
        glGenBuffers(1, &name);
        break;
    case GLObjectKind::VertexArray:
        glGenVertexArrays(1, &name);
        break;
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
    case GLObjectKind::Buffer:
        glDeleteBuffers(1, &name);
        break;
    case GLObjectKind::VertexArray:
        glDeleteVertexArrays(1, &name);
        break;
    }
}
