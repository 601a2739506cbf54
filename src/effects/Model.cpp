// Model effect: construction, draw of the uploaded mesh, and the "loadobj" command.
#include "effects/Model.h"
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include "effects/ObjLoader.h"

Model::Model() : loaded(0)
{
    indices.reserve(100);
}

Demoeffect* Model::clone()
{
    return new (std::nothrow) Model(*this);
}

void Model::update()
{
    if (loaded) Demoeffect::update();
}

void Model::draw()
{
    if (!loaded) return;
    Demoeffect::draw();
    glBindVertexArray(vao);
    // GL counts in a signed int; a larger list draws the whole triangles that fit.
    const size_t count = indices.size() > static_cast<size_t>(INT_MAX) ? INT_MAX - INT_MAX % 3 : indices.size();
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count), GL_UNSIGNED_INT, indices.data());
}

void Model::local(float, char* argument)
{
    const LocalArgs a = splitLocal(argument);
    if (std::strcmp(a.word, "loadobj") == 0) {
        loadObj(*this, a.args[0]);
        return;
    }
    reportFailedLocal(a);
}
