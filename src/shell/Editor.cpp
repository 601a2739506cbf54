// The authoring mode: a 1280 x 720 window on an EditSession, the music played from the session's
// time, keys to pause, seek, mark and reload, an overlay line with the time, and the live reload of
// changed files (LiveReload.h). The music time is kept on the wall clock from the last seek or
// resume, and the music is put on that time at every seek, resume and reload; the time holds there
// until that music is heard (audioOutputLatency later), so the picture, the marks and the sound agree.
#include "shell/Editor.h"
#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include "demo/EditSession.h"
#include "demo/ScriptEnd.h"
#include "effects/Globals.h"
#include "effects/ObjLoader.h"
#include "effects/Text.h"
#include "resources/Messages.h"
#include "shell/LiveReload.h"
#include "shell/Platform.h"
#include "shell/Shell.h"

namespace {
// END would end the process; while editing, the show just runs on past it.
class SkipEnd : public EventWatch {
public:
    bool beforeEvent(const ScriptEvent& event, size_t) override { return !isEndLine(event.line); }
    void afterEvent(const ScriptEvent&, size_t) override {}
};

class Editor {
public:
    explicit Editor(double start) : session_(setup()), overlay_()
    {
        audioInit(44100); // without a device the stream below fails and says so
        openMusic();
        overlay_.motion.point[0] = -0.73f;
        overlay_.motion.point[1] = 0.38f;
        overlay_.motion.point[2] = -1.0f;
        overlay_.scale = 0.025;
        seek(start);
    }
    ~Editor() { audioFree(); }

    // Runs until Escape or the window is closed.
    void run()
    {
        for (;;) {
            SDL_Event event;
            while (SDL_PollEvent(&event)) {
                if (event.type == SDL_QUIT) return;
                if (event.type == SDL_KEYDOWN && !key(event.key)) return;
                if (event.type == SDL_WINDOWEVENT) handleWindowEvent(event);
            }
            applyChangedFiles();
            if (!paused_) {
                session_.seek(now());
            }
            draw();
            SDL_GL_SwapWindow(g_window);
        }
    }

private:
    DemoSetup setup()
    {
        DemoSetup s;
        s.watch = &skipEnd_;
        return s;
    }

    // Opens the script's music when it names another file than the one open (at start, and after a
    // reload changed the MUSIC line). seek() puts it on the time.
    void openMusic()
    {
        const std::string path = musicPathOf(session_.demo().header);
        if (path == musicPath_) return;
        musicPath_ = path;
        stream_ = audioStreamCreateFile(path.c_str());
        if (stream_ == 0)
            std::fprintf(stderr, "no music (%s): editing without sound\n", path.c_str());
        else
            audioChannelPlay(stream_);
    }

    double now() const
    {
        if (paused_) return anchor_;
        const double elapsed = static_cast<double>(SDL_GetTicks64() - anchorTicks_) / 1000.0;
        return anchor_ + std::max(0.0, elapsed - heardAfter_);
    }

    // The time, music and anchor all moved to `t`.
    void seek(double t)
    {
        if (t < 0.0) t = 0.0;
        session_.seek(t);
        anchor_ = session_.time();
        anchorTicks_ = SDL_GetTicks64();
        heardAfter_ = stream_ != 0 ? audioOutputLatency() : 0.0;
        if (stream_ != 0) {
            audioSetPosition(stream_, anchor_);
            audioPause(stream_, paused_);
        }
    }

    // False for the key that ends the editor.
    bool key(const SDL_KeyboardEvent& k)
    {
        const SDL_Keycode sym = k.keysym.sym;
        if (k.repeat) return true; // one action per press, however long the key is held
        const double t = now();
        switch (sym) {
        case SDLK_ESCAPE: return false;
        case SDLK_SPACE:
            anchor_ = t;
            anchorTicks_ = SDL_GetTicks64();
            paused_ = !paused_;
            seek(t);
            break;
        case SDLK_RIGHT: seek(t + 1.0); break;
        case SDLK_LEFT: seek(t - 1.0); break;
        case SDLK_UP: seek(t + 10.0); break;
        case SDLK_DOWN: seek(t - 10.0); break;
        case SDLK_HOME: seek(0.0); break;
        case SDLK_m:
            printMessage("Mark: %.3f\n", t);
            flushMessages();
            break;
        case SDLK_h: showOverlay_ = !showOverlay_; break;
        case SDLK_F5: reloadEverything(); break;
        default: break;
        }
        return true;
    }

    void reloadEverything()
    {
        const double t = now();
        session_.seek(t);
        session_.reloadEverything();
        openMusic();
        seek(t);
    }

    void applyChangedFiles()
    {
        const double t = now();
        if (!liveReload_.apply(session_, t)) return;
        openMusic(); // a saved script may name another track
        seek(t);
    }

    void draw()
    {
        session_.demo().draw();
        if (!showOverlay_) return;
        char line[64];
        std::snprintf(line, sizeof line, "text;%.3f s%s", session_.time(), paused_ ? "  paused" : "");
        overlay_.local(0.0f, line);
        glClear(GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        overlay_.update();
        overlay_.draw();
        glUseProgram(0);
        g_effects.boundProgram = 0;
    }

    SkipEnd skipEnd_;
    EditSession session_;
    Text overlay_;
    LiveReload liveReload_;
    uint32_t stream_ = 0;
    std::string musicPath_; // the file stream_ plays
    bool paused_ = false;
    bool showOverlay_ = true;
    double anchor_ = 0.0;
    uint64_t anchorTicks_ = 0;
    double heardAfter_ = 0.0; // seconds from the last seek until its music is heard
};
} // namespace

int runEditor(double startSeconds)
{
    g_fullscreen = false;
    useScriptTitle();
    if (!createWindow()) return 1;
    setMeshMemory(true);
    {
        Editor editor(startSeconds);
        editor.run();
    }
    destroyWindow();
    SDL_Quit();
    return 0;
}
