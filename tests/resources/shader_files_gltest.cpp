// The demo's GLSL files in data/shaders: every NAME.vert / NAME.frag pair compiles and links on the
// test context, offers the uniforms the effects set, keeps the mesh attributes at the fixed
// locations 0, 1, 2, and draws visible pixels. Uses plain GL calls, not the shader library, so a
// failure here points at the files themselves.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstddef>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "support/GlFixture.h"

using ShaderFilesGl = GlTest;

namespace {
const std::string kShaderDir = std::string(ZEMBLAR_SOURCE_DIR) + "/data/shaders/";

bool readFile(const std::string& path, std::string& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    out = text.str();
    return true;
}

std::vector<std::string> programNames()
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(kShaderDir.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string file = entry->d_name;
            const std::string suffix = ".vert";
            if (file.size() > suffix.size() && file.compare(file.size() - suffix.size(), suffix.size(), suffix) == 0)
                names.push_back(file.substr(0, file.size() - suffix.size()));
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The info log of a shader or program, through the matching pair of GL queries.
template <typename GetParameter, typename GetLog>
std::string infoLog(GLuint object, GetParameter getParameter, GetLog getLog)
{
    GLint size = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &size);
    std::vector<char> buffer(static_cast<std::size_t>(std::max(size, 1)), '\0');
    getLog(object, static_cast<GLsizei>(buffer.size()), nullptr, buffer.data());
    return buffer.data();
}

// Compiles one stage; returns 0 and fills `log` on failure.
GLuint compileStage(GLenum stage, const std::string& path, std::string& log)
{
    std::string source;
    if (!readFile(path, source)) {
        log = "cannot read " + path;
        return 0;
    }
    const GLuint shader = glCreateShader(stage);
    const char* text = source.c_str();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) return shader;
    log = path + ":\n" + infoLog(shader, glGetShaderiv, glGetShaderInfoLog);
    glDeleteShader(shader);
    return 0;
}

// Compiles and links NAME.vert + NAME.frag (+ NAME.geom when present); 0 and `log` on failure.
GLuint buildProgram(const std::string& name, std::string& log)
{
    const GLuint program = glCreateProgram();
    const struct { const char* ext; GLenum stage; bool required; } stages[] = {
        {".vert", GL_VERTEX_SHADER, true}, {".frag", GL_FRAGMENT_SHADER, true}, {".geom", GL_GEOMETRY_SHADER, false}};
    for (const auto& s : stages) {
        const std::string path = kShaderDir + name + s.ext;
        if (!s.required && !std::ifstream(path)) continue;
        const GLuint shader = compileStage(s.stage, path, log);
        if (!shader) {
            glDeleteProgram(program);
            return 0;
        }
        glAttachShader(program, shader);
        glDeleteShader(shader); // stays alive while attached
    }
    glLinkProgram(program);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok == GL_TRUE) return program;
    log = "link of " + name + ":\n" + infoLog(program, glGetProgramiv, glGetProgramInfoLog);
    glDeleteProgram(program);
    return 0;
}

bool drawsImmediateQuads(const std::string& name)
{
    return name == "image";
}

// Reads the pixel at the middle of the 1280x720 viewport.
void centrePixel(unsigned char rgba[4])
{
    glReadPixels(640, 360, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

// One triangle around the view centre in the 32-byte mesh vertex layout, facing the viewer.
void drawMeshTriangle()
{
    const float vertices[] = {
        -0.8f, -0.8f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
        0.8f, -0.8f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f,
        0.0f, 0.8f, 0.0f, 0.0f, 0.0f, 1.0f, 0.5f, 1.0f,
    };
    GLuint vao = 0, vbo = 0;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STATIC_DRAW);
    for (GLuint location = 0; location < 3; ++location) {
        const GLint components = location == 2 ? 2 : 3;
        glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, 32,
                              reinterpret_cast<const void*>(static_cast<std::size_t>(location * 12)));
        glEnableVertexAttribArray(location);
    }
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glBindVertexArray(0);
    glDeleteBuffers(1, &vbo);
    glDeleteVertexArrays(1, &vao);
}

void drawImmediateQuad()
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1); glVertex3f(-0.5f, 0.5f, 0);
    glTexCoord2f(0, 0); glVertex3f(-0.5f, -0.5f, 0);
    glTexCoord2f(1, 0); glVertex3f(0.5f, -0.5f, 0);
    glTexCoord2f(1, 1); glVertex3f(0.5f, 0.5f, 0);
    glEnd();
}
} // namespace

TEST_F(ShaderFilesGl, TheProgramsTheDemoNeedsAreThere)
{
    const std::vector<std::string> names = programNames();
    for (const char* wanted : {"main", "model", "sky", "glow", "plasma", "image"})
        EXPECT_NE(std::find(names.begin(), names.end(), wanted), names.end()) << wanted << ".vert missing";
}

TEST_F(ShaderFilesGl, EveryProgramCompilesLinksAndTakesTheEffectUniforms)
{
    for (const std::string& name : programNames()) {
        SCOPED_TRACE(name);
        std::string log;
        const GLuint program = buildProgram(name, log);
        ASSERT_NE(program, 0u) << log;
        EXPECT_NE(glGetUniformLocation(program, "state"), -1);
        EXPECT_NE(glGetUniformLocation(program, "musictime"), -1);
        if (!drawsImmediateQuads(name)) {
            // Meshes keep one vertex array across programs, so every program agrees on locations.
            EXPECT_EQ(glGetAttribLocation(program, "in_position"), 0);
            const GLint normal = glGetAttribLocation(program, "in_normal");
            const GLint texcoords = glGetAttribLocation(program, "in_texcoords");
            EXPECT_TRUE(normal == 1 || normal == -1) << "in_normal at " << normal;
            EXPECT_TRUE(texcoords == 2 || texcoords == -1) << "in_texcoords at " << texcoords;
        }
        glDeleteProgram(program);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(ShaderFilesGl, EveryProgramDrawsVisiblePixelsWithEveryStateBit)
{
    // Colour is read without blending: a see-through variant still has to write some colour.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    const float light[] = {1.0f, 1.0f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glTranslatef(0.0f, 0.0f, -0.5f);
    for (const std::string& name : programNames()) {
        std::string log;
        const GLuint program = buildProgram(name, log);
        ASSERT_NE(program, 0u) << log;
        glUseProgram(program);
        for (int state : {0, 1, 2, 4, 8, 16, 32, 63}) {
            SCOPED_TRACE(name + " with state " + std::to_string(state));
            glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glUniform1i(glGetUniformLocation(program, "state"), state);
            glUniform1f(glGetUniformLocation(program, "musictime"), 12.3f);
            if (drawsImmediateQuads(name))
                drawImmediateQuad();
            else
                drawMeshTriangle();
            unsigned char rgba[4] = {0, 0, 0, 0};
            centrePixel(rgba);
            EXPECT_GT(rgba[0] + rgba[1] + rgba[2], 8) << "nothing visible at the centre";
        }
        glUseProgram(0);
        glDeleteProgram(program);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
