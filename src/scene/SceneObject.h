#pragma once

#include <glm/glm.hpp>

// Base of everything placed in the world and moved by a matrix: cameras, cars,
// wheels, stones, lights and all geometry.
//
// Every transformation post-multiplies, so it acts in the object's own frame:
// translate(0, 0, -1) moves one unit along the object's forward axis wherever it
// faces, and a placement written translate, rotateY, scale yields T·R·S.
// Angles are in degrees.
//
// The inverse is kept in step by multiplying each step's known inverse rather
// than inverting the model matrix: this runs every frame for every moving
// object, and the view matrix of a camera is exactly this inverse.
class SceneObject {
public:
    // All four matrices start as identity: a new object stands at the origin.
    SceneObject();
    virtual ~SceneObject();
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Per-second rates: scaled by the frame time deltaTime.
    virtual void translateOverTime(float x, float y, float z);
    virtual void rotateXOverTime(float degrees);
    virtual void rotateYOverTime(float degrees);
    virtual void rotateZOverTime(float degrees);

    virtual void translate(float x, float y, float z);
    virtual void rotateX(float degrees);
    virtual void rotateY(float degrees);
    virtual void rotateZ(float degrees);
    virtual void scale(float x, float y, float z);

    // Every transformation above ends here, so an override sees each one.
    // Overrides must call this first and then refresh their own derived state
    // (frustum, bounding records, attached objects).
    virtual void applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform);

    // Used before an object is placed afresh; the previous-frame copies are
    // cleared too so motion blur sees no jump from the old placement.
    void resetTransform();
    // Called once a frame has been drawn, so the next frame can compare views.
    void storePreviousTransform();

    // Owned, deleted in the destructor. The pointers never change for the
    // object's life, so they may be handed to other objects for reading.
    glm::mat4* const previousModelMatrix;
    glm::mat4* const modelMatrix;        // object to world; position in column 3
    glm::mat4* const inverseModelMatrix; // world to object; a camera's view matrix
    glm::mat4* const previousInverseModelMatrix;
};
