// Demoeffect base: motion update, transform, common draw, child list, vertex layout.
#include "effects/Demoeffect.h"
#include "effects/Globals.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include "resources/Messages.h"
#include "resources/ShaderLibrary.h"

namespace {
// Child levels below a top-level effect that fit on the model-view stack (the top-level effect's
// matrix takes one level, each child level one more) with kFreeStackLevels to spare. GL guarantees
// a stack of at least 32.
int drawDepthLimit(int freeLevels)
{
    static const int limit = [freeLevels] {
        GLint levels = 0;
        glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &levels);
        return std::max<int>(levels, 32) - 1 - freeLevels;
    }();
    return limit;
}

// Smoothstep weight of a timed move at the current demo clock. The times go through 32-bit floats
// on purpose: that rounding decides where a move lands. A zero-length move gives 0/0 when the clock
// rounds onto its start; such a move counts as finished instead of producing NaN positions.
float timedWeight(double start, double end)
{
    const float now = static_cast<float>(g_effects.musicTime);
    const float s = static_cast<float>(start);
    const float e = static_cast<float>(end);
    float t = (now - s) / (e - s);
    if (std::isnan(t)) t = 1.0f;
    t = std::min(1.0f, std::max(0.0f, t));
    return t * t * (3.0f - 2.0f * t);
}

void interpolate(float out[3], const float from[3], const float to[3], float w)
{
    for (int i = 0; i < 3; ++i) out[i] = (to[i] - from[i]) * w + from[i];
}
} // namespace

void resetMotion(Motion& m)
{
    m = Motion{};
    m.direction[0] = 0.5f;
    m.direction[1] = 0.5f;
    m.direction[2] = 0.0f;
}

void updateMotion(Motion& m)
{
    for (int i = 0; i < 3; ++i) {
        m.point[i] = static_cast<float>(m.point[i] + m.deltaPoint[i] * g_effects.frameDelta);
        m.direction[i] = static_cast<float>(m.direction[i] + m.deltaDirection[i] * g_effects.frameDelta);
        if (m.direction[i] > 1.0f || m.direction[i] < 0.0f)
            m.direction[i] = static_cast<float>(std::fmod(static_cast<double>(m.direction[i]), 1.0));
    }
    if (m.motionFlags & MotionMoving) {
        if (g_effects.musicTime > m.moveEnd) {
            m.motionFlags &= ~MotionMoving;
            std::copy(m.moveTo, m.moveTo + 3, m.point);
        }
        interpolate(m.point, m.moveFrom, m.moveTo, timedWeight(m.moveStart, m.moveEnd));
    }
    if (m.motionFlags & MotionRotating) {
        if (g_effects.musicTime > m.rotateEnd) {
            m.motionFlags &= ~MotionRotating;
            std::copy(m.rotateTo, m.rotateTo + 3, m.direction);
        }
        interpolate(m.direction, m.rotateFrom, m.rotateTo, timedWeight(m.rotateStart, m.rotateEnd));
    }
}

void applyTransform(const Motion& m)
{
    glTranslatef(m.point[0], m.point[1], m.point[2]);
    glRotatef((m.direction[0] - 0.5f) * 360.0f, 0.0f, 1.0f, 0.0f);
    glRotatef((m.direction[1] - 0.5f) * 180.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(m.direction[2] * 360.0f, 0.0f, 0.0f, 1.0f);
}

Demoeffect::Demoeffect()
    : state(0), scale(1.0), scaleX(1.0), scaleY(1.0), scaleZ(1.0), startTime(0.0), shaderProgram(0), texture(0),
      texture2(0), vertexData(nullptr), indexData(nullptr), vbo(0), vao(0)
{
    resetMotion(motion);
    children.reserve(10);
}

// Copies every field; the children, GL names and mesh arrays are shared with the source, not copied.
Demoeffect::Demoeffect(const Demoeffect& other) = default;

Demoeffect::~Demoeffect() = default;

Demoeffect* Demoeffect::clone()
{
    return new (std::nothrow) Demoeffect(*this);
}

void Demoeffect::local(float, char*) {}

void Demoeffect::update()
{
    updateMotion(motion);
    updateChildren();
}

void Demoeffect::draw()
{
    if (shaderProgram != g_effects.boundProgram) {
        glUseProgram(shaderProgram);
        g_effects.boundProgram = shaderProgram;
    }
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, texture2);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Without a program there are no uniforms to set (the look-up would only raise a GL error).
    if (shaderProgram != 0) {
        const EffectUniforms& uniforms = effectUniforms(shaderProgram);
        glUniform1i(uniforms.state, state);
        glUniform1f(uniforms.musicTime, static_cast<float>(g_effects.musicTime - startTime));
        glUniform1i(uniforms.glyphCells, 0); // a text sets its own after this
    }
    applyTransform(motion);
    glScalef(static_cast<float>(scaleX * scale), static_cast<float>(scaleY * scale),
             static_cast<float>(scaleZ * scale));
    drawChildren();
}

void Demoeffect::drawChildren()
{
    const int limit = drawDepthLimit(kFreeStackLevels);
    if (g_effects.drawDepth >= limit) {
        static bool told = false; // once per run, not once per frame
        if (!told && !children.empty()) {
            told = true;
            printMessage(
                "Scene tree deeper than %d levels (a child list looping back?): deeper children are not drawn\n",
                limit);
        }
        return;
    }
    ++g_effects.drawDepth;
    for (size_t i = 0; i < children.size(); ++i) {
        if (!children[i]) continue;
        glPushMatrix();
        children[i]->draw();
        glPopMatrix();
    }
    --g_effects.drawDepth;
}

void Demoeffect::updateChildren()
{
    if (g_effects.updateDepth >= drawDepthLimit(kFreeStackLevels)) return;
    ++g_effects.updateDepth;
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i]) children[i]->update();
    --g_effects.updateDepth;
}

struct VertexObjects {
    GLuint vao = 0, vbo = 0;
    VertexObjects()
    {
        glGenVertexArrays(1, &vao);
        glGenBuffers(1, &vbo);
    }
    ~VertexObjects()
    {
        glDeleteBuffers(1, &vbo);
        glDeleteVertexArrays(1, &vao);
    }
    VertexObjects(const VertexObjects&) = delete;
    VertexObjects& operator=(const VertexObjects&) = delete;
};

void Demoeffect::setupVertexLayout()
{
    vertexObjects_ = std::make_shared<VertexObjects>();
    vao = vertexObjects_->vao;
    vbo = vertexObjects_->vbo;
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    struct Attribute {
        const char* name;
        GLint components;
        size_t offset;
    };
    static const Attribute attributes[] = {{"in_position", 3, 0}, {"in_normal", 3, 12}, {"in_texcoords", 2, 24}};
    for (const Attribute& a : attributes) {
        // A program without the attribute (or no program) gives -1: nothing to point there.
        const GLint location = shaderProgram ? glGetAttribLocation(shaderProgram, a.name) : -1;
        if (location < 0) continue;
        glVertexAttribPointer(static_cast<GLuint>(location), a.components, GL_FLOAT, GL_FALSE, 32,
                              reinterpret_cast<const void*>(a.offset));
        glEnableVertexAttribArray(static_cast<GLuint>(location));
    }
}

void Demoeffect::addChild(Demoeffect* child)
{
    children.push_back(child);
}

void Demoeffect::removeChild(Demoeffect* child)
{
    auto it = std::find(children.begin(), children.end(), child);
    if (it != children.end()) children.erase(it);
}

bool Demoeffect::reaches(const Demoeffect* other) const
{
    // Iterative walk with a visited list: child lists may share nodes, and an already broken
    // tree must not make this check itself recurse without end.
    std::vector<const Demoeffect*> pending{this}, seen;
    while (!pending.empty()) {
        const Demoeffect* e = pending.back();
        pending.pop_back();
        if (e == other) return true;
        if (std::find(seen.begin(), seen.end(), e) != seen.end()) continue;
        seen.push_back(e);
        for (const Demoeffect* c : e->children)
            if (c) pending.push_back(c);
    }
    return false;
}

LocalArgs splitLocal(char* text)
{
    static const char empty[] = "";
    LocalArgs out;
    out.word = text ? text : empty;
    out.count = 0;
    for (int i = 0; i < LocalArgs::kMaxArgs; ++i) out.args[i] = empty;
    if (!text) return out;
    for (char* p = text; *p && out.count < LocalArgs::kMaxArgs; ++p) {
        if (*p != ';') continue;
        *p = '\0';
        out.args[out.count++] = p + 1;
    }
    return out;
}

void reportFailedLocal(const LocalArgs& args)
{
    printMessage("failed local: %s %s", args.word, args.args[0]);
}
