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
}
