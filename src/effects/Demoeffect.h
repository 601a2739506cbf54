// Demoeffect: the base of every effect. It holds the motion record (position, orientation, their
// velocities and smoothstep-timed moves), scales, program, textures, state bits, mesh slots and
// the child list, and implements the common draw that binds, sets uniforms, transforms and draws
// the children. A plain Demoeffect is a group node without geometry.
#pragma once
#include <cstdint>
#include <vector>
#include "resources/Gl.h"

struct Motion {
    float deltaDirection[3];
    float deltaPoint[3];
    float point[3];
    float direction[3];
    float moveFrom[3];
    float moveTo[3];
    float rotateFrom[3];
    float rotateTo[3];
    double moveStart, moveEnd;
    double rotateStart, rotateEnd;
    uint32_t motionFlags;
};

enum : uint32_t { MotionMoving = 1u, MotionRotating = 2u };

void resetMotion(Motion& m);
void updateMotion(Motion& m);
void applyTransform(Motion& m);

class Demoeffect {
public:
    Demoeffect();
    Demoeffect(const Demoeffect& other);
    Demoeffect& operator=(const Demoeffect&) = delete;
    virtual ~Demoeffect();
    virtual void draw();
    virtual Demoeffect* clone();
    virtual void local(float time, char* argument);

    void setupVertexLayout();
    void addChild(Demoeffect* child);
    void removeChild(Demoeffect* child);
    // True when `other` is this effect or lies anywhere below it in the child lists.
    bool reaches(const Demoeffect* other) const;

    Motion motion;
    int32_t state;
    double scale;
    double scaleX, scaleY, scaleZ;
    double startTime;
    GLuint shaderProgram;
    GLuint texture;
    GLuint texture2;
    float* vertexData;
    int32_t vertexBytes;
    void* indexData;
    GLuint vbo;
    GLuint vao;
    std::vector<Demoeffect*> children;

protected:
    // Draws each child inside its own push/pop of the current matrix. Nesting only goes as deep as
    // GL's model-view stack allows with kFreeStackLevels left for an effect's own pushes; deeper
    // children are not drawn (one message says so), so a child list that loops back on itself
    // cannot recurse forever.
    void drawChildren();
    static constexpr int kFreeStackLevels = 3;
};

// Cuts a per-type command text in place at every ';' into a word and up to 18 arguments.
// Slots that the text does not fill point at an empty string, never at unfilled memory.
struct LocalArgs {
    static constexpr int kMaxArgs = 18;
    const char* word;
    const char* args[kMaxArgs];
    int count;
};
LocalArgs splitLocal(char* text);
