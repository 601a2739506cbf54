// The authoring mode: a 1280 x 720 window on an EditSession played by an EditPlayer (pause, seek,
// speed, loop, frame steps, the music on the session's time), keys and the mouse, the overlay (a
// status line, the lines that ran last and the timeline strip), marks, and the live reload of
// changed files (LiveReload.h).
#include "shell/Editor.h"
#include <SDL.h>
#include <cstdio>
#include "demo/EditSession.h"
#include "demo/EditTime.h"
#include "effects/Globals.h"
#include "effects/ObjLoader.h"
#include "resources/Messages.h"
#include "resources/TextureLibrary.h"
#include "shell/EditPlayer.h"
#include "shell/FramePacer.h"
#include "shell/LiveReload.h"
#include "shell/PixelCanvas.h"
#include "shell/Platform.h"
#include "shell/RecentLines.h"
#include "shell/Shell.h"
#include "shell/TimelineStrip.h"
#include "shell/WaveformLoader.h"

namespace {
constexpr float kStatusSize = 18.0f;

class Editor {
public:
    explicit Editor(double start) : session_(setup()), player_(session_)
    {
        audioInit(44100); // without a device the stream fails and says so
        followScript();
        player_.setPaused(false);
        player_.seek(start);
    }
    ~Editor()
    {
        waveform_.wait(); // the decoder uses the device
        audioFree();
    }

    // Runs until Escape or the window is closed.
    void run()
    {
        for (;;) {
            SDL_Event event;
            while (SDL_PollEvent(&event))
                if (!handle(event)) return;
            frame();
            SDL_GL_SwapWindow(g_window);
            paceFrame();
        }
    }

private:
    DemoSetup setup()
    {
        DemoSetup s;
        s.watch = &recent_;
        return s;
    }

    // False for the events that end the editor.
    bool handle(const SDL_Event& event)
    {
        if (event.type == SDL_QUIT) return false;
        if (event.type == SDL_KEYDOWN) return key(event.key);
        if (event.type == SDL_WINDOWEVENT) handleWindowEvent(event);
        // A hidden strip takes no new clicks, but a drag that began before H still ends.
        if (showOverlay_ || (event.type != SDL_MOUSEBUTTONDOWN && event.type != SDL_MOUSEWHEEL))
            strip_.handle(event, player_);
        return true;
    }

    // One frame: changed files, the show moved on, the strip's drag, then the picture.
    void frame()
    {
        applyChangedFiles();
        player_.play();
        strip_.update(player_);
        if (session_.builds() != stripBuild_) {
            stripBuild_ = session_.builds();
            strip_.setScript(stripScriptOf(session_.demo().header, session_.demo().events, kScriptPath));
        }
        draw();
    }

    // False for the key that ends the editor.
    bool key(const SDL_KeyboardEvent& k)
    {
        const SDL_Keycode sym = k.keysym.sym;
        const bool repeats = sym == SDLK_COMMA || sym == SDLK_PERIOD || zoomOf(sym) != 0;
        if (k.repeat && !repeats) return true; // one action per press, however long the key is held
        const double t = player_.now();
        switch (sym) {
        case SDLK_ESCAPE: return false;
        case SDLK_SPACE: player_.setPaused(!player_.paused()); break;
        case SDLK_RIGHT: player_.seek(t + 1.0); break;
        case SDLK_LEFT: player_.seek(t - 1.0); break;
        case SDLK_UP: player_.seek(t + 10.0); break;
        case SDLK_DOWN: player_.seek(t - 10.0); break;
        case SDLK_HOME: player_.seek(0.0); break;
        case SDLK_COMMA: player_.stepFrames(-1); break;
        case SDLK_PERIOD: player_.stepFrames(1); break;
        case SDLK_LEFTBRACKET: player_.setLoopIn(); break;
        case SDLK_RIGHTBRACKET: player_.setLoopOut(); break;
        case SDLK_l: player_.toggleLoop(); break;
        case SDLK_1: case SDLK_KP_1: player_.playAt(1.0); break;
        case SDLK_2: case SDLK_KP_2: player_.playAt(0.5); break;
        case SDLK_3: case SDLK_KP_3: player_.playAt(0.25); break;
        case SDLK_m:
            printMessage("%s\n", markText(t, session_.demo().header.tempo, (k.keysym.mod & KMOD_SHIFT) != 0).c_str());
            flushMessages();
            break;
        case SDLK_h: showOverlay_ = !showOverlay_; break;
        case SDLK_F5: reloadEverything(); break;
        default: strip_.zoom(zoomOf(sym)); break;
        }
        return true;
    }

    // + (or =, the same key unshifted) zooms in, - zooms out.
    static int zoomOf(SDL_Keycode sym)
    {
        if (sym == SDLK_PLUS || sym == SDLK_EQUALS || sym == SDLK_KP_PLUS) return 1;
        if (sym == SDLK_MINUS || sym == SDLK_KP_MINUS) return -1;
        return 0;
    }

    void reloadEverything()
    {
        session_.seek(player_.now());
        session_.reloadEverything();
        followScript();
        player_.seek(session_.time());
    }

    void applyChangedFiles()
    {
        const double t = player_.now();
        if (!liveReload_.apply(session_, t)) return;
        followScript();
        player_.seek(t);
    }

    // After a start or a reload: the script's title, its music played and drawn (nothing happens
    // when it names the same file), and the font.
    void followScript()
    {
        g_windowTitle = titleOf(session_.demo().header);
        SDL_SetWindowTitle(g_window, g_windowTitle.c_str());
        font_ = findTexture("profont.png");
        player_.openMusic(musicPathOf(session_.demo().header));
        waveform_.load(player_.musicPath());
    }

    void draw()
    {
        session_.demo().draw();
        if (!showOverlay_) return;
        const PixelCanvas canvas(font_);
        const std::string line = status();
        const float y = canvas.height() - kStatusSize - 8.0f;
        canvas.rect(6.0f, y - 3.0f, 14.0f + PixelCanvas::textWidth(kStatusSize, line.size()), y + kStatusSize + 2.0f,
                    Rgba{0.0f, 0.0f, 0.0f, 0.45f});
        canvas.beginText();
        canvas.text(10.0f, y, kStatusSize, Rgba{1.0f, 1.0f, 1.0f, 1.0f}, line);
        canvas.endText();
        recent_.draw(canvas, TimelineStrip::kHeight + 8.0f, session_.time());
        StripFrame strip;
        strip.cursor = session_.time();
        strip.loop = player_.loop();
        strip.envelope = waveform_.envelope();
        strip.waveNote = waveform_.why();
        strip_.draw(canvas, strip);
    }

    // "12.345 s  7:2.5  paused  1/2 speed  loop"
    std::string status() const
    {
        const double t = session_.time();
        char line[128];
        std::snprintf(line, sizeof line, "%.3f s", t);
        std::string text = line;
        const TempoMap& tempo = session_.demo().header.tempo;
        if (!tempo.empty()) {
            const BarBeat at = tempo.barBeatAt(t);
            if (at.bar >= 1) text += "  " + formatBarBeat(at);
        }
        if (player_.paused()) text += "  paused";
        if (player_.speed() != 1.0) text += player_.speed() == 0.5 ? "  1/2 speed" : "  1/4 speed";
        if (player_.loop().on) text += "  loop";
        return text;
    }

    RecentLines recent_;
    EditSession session_;
    EditPlayer player_;
    TimelineStrip strip_;
    WaveformLoader waveform_;
    GLuint font_ = 0; // the font atlas, looked up again at every reload
    LiveReload liveReload_;
    bool showOverlay_ = true;
    uint64_t stripBuild_ = 0; // the build of the demo the strip shows the script of
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
