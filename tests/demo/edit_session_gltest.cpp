// The edit session on a show whose stage does not compile and whose texture and mesh are missing:
// the files it names are taken once they hold something; what it prints, each message once.
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include "demo/EditSession.h"
#include "effects/EffectRegistry.h"
#include "effects/Model.h"
#include "effects/ObjLoader.h"
#include "resources/ShaderLibrary.h"
#include "support/CaptureMessages.h"
#include "support/GlFixture.h"
#include "support/TempDir.h"

using EditSessionGl = GlTest;

namespace {
const std::string kGhost = "You need to create this effect with new or clone first! ghost setpoint\n";
const char* const kBroken = "#version 330 compatibility\nvoid main() { this is not glsl; }\n";
} // namespace

TEST_F(EditSessionGl, NamedFilesAreTakenWhetherTheyLoadedOrNotAndMessagesArePrintedOnceUntilAReload)
{
    ScopedWorkDir dir;
    setMeshMemory(true);
    dir.write("data/vessikscript.txt", "-1 p SHADER v.vert,bad.frag,\n-1 q SHADER v.vert,bad.frag,\n"
                                       "-1 img new image\n-1 img texture late.png\n-1 m new model\n"
                                       "-1 m local loadobj;data/meshes/late.obj\n2 ghost setpoint 1 2 3\n");
    dir.write("data/shaders/v.vert", "#version 330 compatibility\nvoid main() { gl_Position = gl_Vertex; }\n");
    dir.write("data/shaders/bad.frag", kBroken);
    std::unique_ptr<EditSession> session;
    const std::string start = capturedMessages([&] { (session = std::make_unique<EditSession>())->seek(3.0); });
    EXPECT_EQ(start.rfind("Error compiling shader bad.frag\n", 0), 0u) << start; // no listing before it
    EXPECT_EQ(start.substr(start.find("\nTried") + 1), // after the GL log; two programs name bad.frag
              "Tried to find a nonexistant shader source: bad.frag\nCouldn't find texture: late.png\n" + kGhost);
    EXPECT_EQ(capturedMessages([&] { session->seek(1.0), session->seek(3.0); }), ""); // a seek back

    std::ostringstream png;
    png << std::ifstream(ZEMBLAR_SOURCE_DIR "/tests/render/data/textures/particle.png").rdbuf();
    const std::string reloaded = "Reloaded data/shaders/bad.frag at 3.000\n";
    const struct {
        const char* file;
        std::string contents;
        std::string printed; // from its start; "" for a file not taken
    } saves[] = {
        {"data/textures/other.png", png.str(), ""},                                         // not named
        {"data/shaders/bad.frag", "", ""},                                                  // being written
        {"data/shaders/bad.frag", kBroken, reloaded + "Error compiling shader bad.frag\n"}, // shown again
        {"data/shaders/bad.frag", "#version 330 compatibility\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n",
         reloaded + "Couldn't find texture: late.png\n" + kGhost},
        {"data/./textures/late.png", png.str(), "Reloaded data/textures/late.png at 3.000\n" + kGhost},
        {"data/meshes/late.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n",
         "Reloaded data/meshes/late.obj at 3.000\n" + kGhost},
    };
    for (const auto& save : saves) {
        dir.write(save.file, save.contents);
        bool taken = false;
        const std::string out = capturedMessages([&] { taken = session->reload({save.file}); });
        EXPECT_EQ(taken, !save.printed.empty()) << save.file;
        const bool compileError = save.printed.find("Error") != std::string::npos; // the GL log follows
        EXPECT_EQ(compileError ? out.substr(0, save.printed.size()) : out, save.printed) << save.file;
    }
    for (const char* program : {"p", "q"}) { // each linked again with the mended stage
        GLint stages = 0;
        glGetProgramiv(findShaderProgram(program), GL_ATTACHED_SHADERS, &stages);
        EXPECT_EQ(stages, 2) << program;
    }
    EXPECT_NE(EffectRegistry::find("img")->texture, 0u);
    EXPECT_TRUE(dynamic_cast<Model*>(EffectRegistry::find("m"))->loaded);
    EXPECT_EQ(capturedMessages([&] { session->reloadEverything(); }), "Reloaded everything at 3.000\n" + kGhost);
    session.reset();
    setMeshMemory(false);
}

TEST_F(EditSessionGl, PlayingOnPrintsEachEventRunAsThePlayerDoesWhileSeeksPrintNone)
{
    ScopedWorkDir dir;
    dir.write("data/vessikscript.txt", "-1 a new demoeffect\n1 ghost setpoint 1 2 3\n2 a setpoint 1 2 3\n");
    std::unique_ptr<EditSession> session;
    EXPECT_EQ(capturedMessages([&] { (session = std::make_unique<EditSession>())->play(1.5); }),
              "Doing: 1 ghost setpoint 1 2 3\n" + kGhost);
    // A seek back, a seek on, a play back (a seek); then playing on from 1 s again.
    EXPECT_EQ(capturedMessages([&] { session->seek(0.5), session->play(1.5), session->seek(2.5), session->play(1.0), session->play(2.5); }),
              "Doing: 1 ghost setpoint 1 2 3\nDoing: 1 ghost setpoint 1 2 3\nDoing: 2 a setpoint 1 2 3\n");
}
