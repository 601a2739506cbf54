// The editor's timeline strip along the bottom of the window: the music's waveform as an envelope,
// the bar and beat grid with bar numbers (from the script's tempo; seconds without one), a tick for
// each script event at its time, the section comments (ScriptSections.h), the play loop and the
// cursor, over a stretch of the music that follows the cursor (TimelineView.h).
// Input: the left button on the strip seeks to the time under the pointer, and dragging scrubs
// (the time stands under the pointer until the button is let go, once a frame however many motions
// came); the wheel zooms (in the whole window). Drawn with the demo's font and immediate-mode GL in
// a PixelCanvas.
#pragma once
#include <SDL.h>
#include <cstdint>
#include <string>
#include <vector>
#include "script/Timeline.h"
#include "demo/EditTime.h"
#include "demo/TimelineView.h"
#include "demo/WaveEnvelope.h"
#include "script/ScriptSections.h"
#include "shell/EditPlayer.h"
#include "shell/PixelCanvas.h"
#include "shell/Screen.h"

// What the strip shows of the script: its tempo, its event times (sorted, start-up lines left out)
// and its sections (sorted by time).
struct StripScript {
    TempoMap tempo;
    std::vector<double> events;
    std::vector<ScriptSection> sections;
};
// The strip's view of a script read with that header into those events (the file at `scriptPath`
// is read again for its comments).
StripScript stripScriptOf(const ScriptHeader& header, const std::vector<ScriptEvent>& events, const char* scriptPath);

// What changes from frame to frame.
struct StripFrame {
    double cursor = 0.0;
    PlayLoop loop;
    const WaveEnvelope* envelope = nullptr; // null: none (yet)
    std::string waveNote;                   // shown without an envelope
};

class TimelineStrip {
public:
    static constexpr float kHeight = 104.0f; // pixels

    TimelineStrip() = default;
    ~TimelineStrip();
    TimelineStrip(const TimelineStrip&) = delete;
    TimelineStrip& operator=(const TimelineStrip&) = delete;

    // True when the event was the strip's. Sizes come from SDL_WINDOWEVENT_SIZE_CHANGED; the
    // window is kWindowWidth x kWindowHeight until one comes.
    bool handle(const SDL_Event& event, EditPlayer& player);
    // Once a frame: the time a drag points at is sought, and the view follows the cursor (it
    // stands still while dragging, so the pointer keeps its time).
    void update(EditPlayer& player);
    // Positive steps zoom in.
    void zoom(int steps) { view_ = zoomed(view_, steps); }
    // The view moved to show the cursor in its middle (update() does it while not dragging).
    void showAround(double cursor) { view_ = followed(view_, cursor); }
    const TimelineView& view() const { return view_; }

    void setScript(StripScript script) { script_ = std::move(script); }
    // Draws along the bottom of the canvas. Makes (and then keeps) a texture to draw it with.
    void draw(const PixelCanvas& canvas, const StripFrame& frame);

private:
    // Lines and labels of the grid, at x positions of the canvas.
    struct Grid {
        std::vector<std::pair<float, bool>> lines; // true: a bar (or labelled seconds) line
        std::vector<std::pair<float, std::string>> labels;
    };
    double timeAtPointer(int x) const;
    bool barGrid(float width, Grid& grid) const;
    void secondsGrid(float width, Grid& grid) const;
    void paint(int width, const StripFrame& frame, const Grid& grid);
    void paintEvents(int width, double cursor);
    void drawSectionNames(const PixelCanvas& canvas) const;

    TimelineView view_;
    StripScript script_;
    int windowWidth_ = kWindowWidth, windowHeight_ = kWindowHeight;
    bool dragging_ = false;
    bool soughtDrag_ = true; // the drag's latest time has been sought
    double dragTime_ = 0.0;
    std::vector<Rgba> columns_; // the background of each column
    OverlayImage image_;        // what is painted of the strip, and the texture it goes into
    GLuint texture_ = 0;
};
