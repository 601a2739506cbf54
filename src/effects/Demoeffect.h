// Demoeffect: the base of every effect. It holds the motion record (position, orientation, their
// velocities and smoothstep-timed moves), scales, program, textures, state bits, mesh slots and
// the child list, and implements the common draw that binds, sets uniforms, transforms and draws
// the children. A plain Demoeffect is a group node without geometry.
#pragma once
#include <cstdint>
#include <memory>
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
// The model-view transform of a motion as it stands (moves nothing).
void applyTransform(const Motion& m);

class Demoeffect {
public:
    Demoeffect();
    Demoeffect(const Demoeffect& other);
    Demoeffect& operator=(const Demoeffect&) = delete;
    virtual ~Demoeffect();
    // One frame's state change (motion, formation step) of this effect and, in draw order, of its
    // children; no GL calls. An effect reached twice in a frame moves twice, as it is drawn twice.
    virtual void update();
    // Draws the effect and its children as update() left them; changes no effect state.
    virtual void draw();
    virtual Demoeffect* clone();
    // The per-type command handler. This one is for types without per-type words: it drops every
    // word without a message and notes that it did (noteIgnoredLocal).
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
    void* indexData;
    GLuint vbo;
    GLuint vao;
    std::vector<Demoeffect*> children;

private:
    // The vertex array and buffer made by setupVertexLayout(), shared with clones (which copy the
    // names) and deleted with the last effect that uses them.
    std::shared_ptr<struct VertexObjects> vertexObjects_;

protected:
    // Draws each child inside its own push/pop of the current matrix. Nesting only goes as deep as
    // GL's model-view stack allows with kFreeStackLevels left for an effect's own pushes; deeper
    // children are not drawn (one message says so), so a child list that loops back on itself
    // cannot recurse forever.
    void drawChildren();
    // update() of each child, with the same depth bound as drawChildren().
    void updateChildren();
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
// The one report for a per-type command the effect does not know: "failed local: WORD ARG"
// (no newline, as it has always been printed).
void reportFailedLocal(const LocalArgs& args);
// The one note for a per-type command given to a type that takes none: nothing is printed (such
// words have always been dropped in silence), the call is only counted, so the script check can
// tell a word such a type dropped from one a type's own handler took.
void noteIgnoredLocal();
// How many per-type commands have been dropped that way in this process.
uint64_t ignoredLocalCount();
