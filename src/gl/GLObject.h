#pragma once

#include <epoxy/gl.h>

#include <utility>

// The kinds of GL object a GLObject can own; each has its own make/delete pair.
// The shader stages are kinds of their own so that the stage is fixed by the
// owner's type rather than passed along beside a bare id.
enum class GLObjectKind {
    Texture,
    Framebuffer,
    Renderbuffer,
    Buffer,
    VertexArray,
    Query,
    Program,
    VertexShader,
    FragmentShader,
    GeometryShader,
};
// The number of kinds above; GeometryShader stays the last.
constexpr int glObjectKindCount = static_cast<int>(GLObjectKind::GeometryShader) + 1;

// Makes one GL name of the kind (glGen*, glCreateProgram, glCreateShader) /
// deletes it (glDelete*). A context must be current. Only GLObject calls
// these, so every id is made and freed in one place.
GLuint createGLObjectName(GLObjectKind kind);
void deleteGLObjectName(GLObjectKind kind, GLuint name);

// How many GL names of the kind (or of all kinds) this process has made and
// not yet deleted, over every context. With every name passing through the
// two functions above, a count that keeps rising while the program does the
// same work again (a race that starts over) is a leaked GL object.
long liveGLObjectCount(GLObjectKind kind);
long liveGLObjectCount();

// Owns one GL name. Copying is deleted so that no two owners can delete the
// same id; moving hands the id over and leaves the source in the "not created"
// state (id 0), which is also the state of a default-constructed owner, so an
// owner can be declared first and created later in a set-up function.
template <GLObjectKind Kind>
class GLObject {
public:
    GLObject() = default;
    ~GLObject() { reset(); }

    GLObject(const GLObject&) = delete;
    GLObject& operator=(const GLObject&) = delete;
    GLObject(GLObject&& other) noexcept : name(std::exchange(other.name, 0u)) {}
    GLObject& operator=(GLObject&& other) noexcept
    {
        if (this != &other) {
            reset();
            name = std::exchange(other.name, 0u);
        }
        return *this;
    }

    static GLObject create()
    {
        GLObject object;
        object.name = createGLObjectName(Kind);
        return object;
    }

    // Deletes the GL object now; the owner is "not created" afterwards.
    void reset()
    {
        if (name != 0) {
            deleteGLObjectName(Kind, name);
            name = 0;
        }
    }

    GLuint id() const { return name; }
    bool created() const { return name != 0; }

private:
    GLuint name = 0;
};

using GLTexture = GLObject<GLObjectKind::Texture>;
using GLFramebuffer = GLObject<GLObjectKind::Framebuffer>;
using GLRenderbuffer = GLObject<GLObjectKind::Renderbuffer>;
using GLBuffer = GLObject<GLObjectKind::Buffer>;
using GLVertexArray = GLObject<GLObjectKind::VertexArray>;
using GLQuery = GLObject<GLObjectKind::Query>;
using GLProgram = GLObject<GLObjectKind::Program>;
using GLVertexShader = GLObject<GLObjectKind::VertexShader>;
using GLFragmentShader = GLObject<GLObjectKind::FragmentShader>;
using GLGeometryShader = GLObject<GLObjectKind::GeometryShader>;
