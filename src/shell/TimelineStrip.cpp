// The timeline strip: its input and its drawing, from the bottom edge up: event ticks, the
// waveform with the grid over it, bar numbers, section names; the loop and the cursor across it.
// A frame of it is two draw calls: everything but the text painted on the CPU into one texture
// (OverlayImage.h), then one batch of text.
#include "shell/TimelineStrip.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include "resources/FileBytes.h"

namespace {
// Rows of the strip, in pixels from its bottom edge.
constexpr float kTickTop = 11.0f;
constexpr float kWaveBottom = 13.0f, kWaveTop = 71.0f;
constexpr float kNumberBase = 74.0f, kNumberSize = 13.0f;
constexpr float kSectionBase = 89.0f, kSectionSize = 14.0f;
constexpr float kMinBeatGap = 6.0f;   // pixels between beat lines, or they are left out
constexpr float kMinBarGap = 4.0f;    // pixels between bar lines, or only every 2nd, 4th, ... is drawn
constexpr float kMinNumberGap = 24.0f; // pixels between one bar number and the next
constexpr size_t kGridLimit = 4096;   // more lines than that: the seconds grid instead
constexpr double kSecondSteps[] = {0.1, 0.2, 0.5, 1, 2, 5, 10, 15, 30, 60, 120, 300};
constexpr float kMinSecondGap = 50.0f;

const Rgba kBackground{0.06f, 0.06f, 0.08f, 1.0f}; // opaque: see PixelCanvas::image
const Rgba kBeat{1.0f, 1.0f, 1.0f, 0.10f};
const Rgba kBar{1.0f, 1.0f, 1.0f, 0.35f};
const Rgba kNumber{0.8f, 0.8f, 0.8f, 0.9f};
const Rgba kWave{0.45f, 0.70f, 1.0f, 0.85f};
const Rgba kEventAhead{0.4f, 1.0f, 0.6f, 0.95f};
const Rgba kEventRun{0.4f, 1.0f, 0.6f, 0.35f};
const Rgba kSection{1.0f, 0.85f, 0.3f, 1.0f};
const Rgba kSectionLine{1.0f, 0.85f, 0.3f, 0.6f};
const Rgba kLoopOn{0.3f, 1.0f, 0.4f, 0.18f};
const Rgba kLoopOff{0.6f, 0.6f, 0.6f, 0.10f};
const Rgba kLoopEdge{0.3f, 1.0f, 0.4f, 0.8f};
const Rgba kCursor{1.0f, 0.35f, 0.2f, 1.0f};

// The pixel column of an x position (x itself lies inside it).
int pixel(double x)
{
    return static_cast<int>(std::floor(std::clamp(x, -1.0, 1e6)));
}

// The text cut to what fits in `room` pixels.
std::string fitted(const std::string& text, float size, float room)
{
    const float glyph = PixelCanvas::textWidth(size, 1);
    return room < glyph ? "" : text.substr(0, static_cast<size_t>(room / glyph));
}
} // namespace

StripScript stripScriptOf(const ScriptHeader& header, const std::vector<ScriptEvent>& events, const char* scriptPath)
{
    StripScript script;
    script.tempo = header.tempo;
    for (const ScriptEvent& event : events)
        if (event.time >= 0.0) script.events.push_back(event.time);
    std::sort(script.events.begin(), script.events.end());
    std::vector<uint8_t> text;
    if (readWholeFile(scriptPath, text))
        script.sections = readSections(reinterpret_cast<const char*>(text.data()), text.size(), header);
    std::stable_sort(script.sections.begin(), script.sections.end(),
                     [](const ScriptSection& a, const ScriptSection& b) { return a.seconds < b.seconds; });
    return script;
}

double TimelineStrip::timeAtPointer(int x) const
{
    const double width = std::max(1, windowWidth_);
    return timeAtX(view_, std::clamp(static_cast<double>(x), 0.0, width), width);
}

bool TimelineStrip::handle(const SDL_Event& event, EditPlayer& player)
{
    switch (event.type) {
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            windowWidth_ = event.window.data1;
            windowHeight_ = event.window.data2;
        }
        return false;
    case SDL_MOUSEWHEEL: zoom(event.wheel.y > 0 ? 1 : event.wheel.y < 0 ? -1 : 0); return true;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button != SDL_BUTTON_LEFT || event.button.y < windowHeight_ - kHeight) return false;
        dragging_ = true;
        player.hold(true);
        player.seek(timeAtPointer(event.button.x));
        return true;
    case SDL_MOUSEMOTION:
        if (!dragging_) return false;
        dragTime_ = timeAtPointer(event.motion.x);
        soughtDrag_ = false;
        return true;
    case SDL_MOUSEBUTTONUP:
        if (!dragging_ || event.button.button != SDL_BUTTON_LEFT) return false;
        dragTime_ = timeAtPointer(event.button.x);
        soughtDrag_ = false;
        update(player);
        dragging_ = false;
        player.hold(false);
        return true;
    default: return false;
    }
}

void TimelineStrip::update(EditPlayer& player)
{
    if (!soughtDrag_) player.seek(dragTime_);
    soughtDrag_ = true;
    if (!dragging_) showAround(player.now());
}

TimelineStrip::~TimelineStrip()
{
    if (texture_ != 0) glDeleteTextures(1, &texture_);
}

void TimelineStrip::draw(const PixelCanvas& canvas, const StripFrame& frame)
{
    const float width = canvas.width();
    Grid grid;
    if (script_.tempo.empty() || !barGrid(width, grid)) secondsGrid(width, grid);
    paint(static_cast<int>(width), frame, grid);
    canvas.image(image_, 0.0f, 0.0f, texture_);
    canvas.beginText();
    for (const auto& label : grid.labels)
        canvas.text(label.first + 3.0f, kNumberBase, kNumberSize, kNumber, label.second);
    drawSectionNames(canvas);
    if (!frame.envelope && !frame.waveNote.empty())
        canvas.text(8.0f, (kWaveBottom + kWaveTop) / 2.0f - 6.0f, kNumberSize, kNumber, "waveform: " + frame.waveNote);
    canvas.endText();
}

// Everything but the text, from the back: the background (tinted over the loop), the wave, grid
// lines, event ticks, section lines, the loop's ends and the cursor.
void TimelineStrip::paint(int width, const StripFrame& frame, const Grid& grid)
{
    const int rows = static_cast<int>(kHeight);
    const PlayLoop& loop = frame.loop;
    const Rgba looped = over(loop.on ? kLoopOn : kLoopOff, kBackground);
    const double column = view_.span / std::max(width, 1);
    columns_.resize(static_cast<size_t>(std::max(width, 0)));
    for (int x = 0; x < width; ++x) {
        const double t = timeAtX(view_, x, width);
        columns_[x] = loop.playable() && t + column > loop.in && t < loop.out ? looped : kBackground;
    }
    image_.reset(columns_, rows);
    const double middle = (kWaveBottom + kWaveTop) / 2.0, half = (kWaveTop - kWaveBottom) / 2.0;
    for (int x = 0; x < width && frame.envelope; ++x) {
        const double t = timeAtX(view_, x, width);
        const std::pair<float, float> r = frame.envelope->range(t, t + column);
        const int low = static_cast<int>(std::floor(middle + std::clamp(r.first, -1.0f, 1.0f) * half));
        const int high = static_cast<int>(std::ceil(middle + std::clamp(r.second, -1.0f, 1.0f) * half));
        image_.fill(x, low, std::max(high, low + 1), over(kWave, columns_[x]));
    }
    for (const auto& line : grid.lines)
        image_.blend(pixel(line.first), static_cast<int>(kWaveBottom),
                     static_cast<int>(line.second ? kSectionBase - 2.0f : kWaveTop), line.second ? kBar : kBeat);
    paintEvents(width, frame.cursor);
    for (const ScriptSection& section : script_.sections)
        image_.blend(pixel(xAtTime(view_, section.seconds, width)), 0, rows, kSectionLine);
    if (loop.playable())
        for (double end : {loop.in, loop.out}) image_.blend(pixel(xAtTime(view_, end, width)), 0, rows, kLoopEdge);
    const int cursor = pixel(xAtTime(view_, frame.cursor, width));
    for (int x : {cursor - 1, cursor}) image_.fill(x, 0, rows, kCursor);
}


// Beat lines where they are far enough apart, bar lines (every 2nd, 4th, ... when they crowd) and
// bar numbers where they fit. False when the view holds too many beats to list.
bool TimelineStrip::barGrid(float width, Grid& grid) const
{
    const std::vector<GridLine> lines = script_.tempo.grid(view_.start, view_.start + view_.span, 1, kGridLimit);
    if (lines.size() >= kGridLimit) return false;
    const TempoSegment& tempo = script_.tempo.segmentAt(view_.start + view_.span / 2.0);
    const double beatPixels = width * 60.0 / tempo.bpm / view_.span;
    const double barPixels = beatPixels * tempo.beatsPerBar;
    const size_t widest = lines.empty() ? 1 : std::to_string(lines.back().at.bar).size();
    int64_t lineEvery = 1, numberEvery = 1;
    while (lineEvery * barPixels < kMinBarGap) lineEvery *= 2;
    while (numberEvery * barPixels < PixelCanvas::textWidth(kNumberSize, widest) + kMinNumberGap) numberEvery *= 2;
    for (const GridLine& line : lines) {
        const float x = static_cast<float>(xAtTime(view_, line.seconds, width));
        const int64_t bar = line.at.bar - 1;
        if (!line.barStart && beatPixels >= kMinBeatGap) grid.lines.emplace_back(x, false);
        if (line.barStart && bar % lineEvery == 0) grid.lines.emplace_back(x, true);
        if (line.barStart && bar >= 0 && bar % numberEvery == 0)
            grid.labels.emplace_back(x, std::to_string(line.at.bar));
    }
    return true;
}

// A labelled line every so many seconds (the first of kSecondSteps that leaves room for labels).
void TimelineStrip::secondsGrid(float width, Grid& grid) const
{
    double step = kSecondSteps[0];
    for (double s : kSecondSteps)
        if ((step = s) * width / view_.span >= kMinSecondGap) break;
    const double last = std::floor((view_.start + view_.span) / step);
    for (double k = std::ceil(view_.start / step); k <= last; ++k) {
        const float x = static_cast<float>(xAtTime(view_, k * step, width));
        char label[32];
        std::snprintf(label, sizeof label, "%gs", k * step);
        grid.lines.emplace_back(x, true);
        grid.labels.emplace_back(x, label);
    }
}

// One tick per pixel column that holds events, dimmer for those before the cursor.
void TimelineStrip::paintEvents(int width, double cursor)
{
    const auto first = std::lower_bound(script_.events.begin(), script_.events.end(), view_.start);
    int last = -1;
    for (auto it = first; it != script_.events.end() && *it <= view_.start + view_.span; ++it) {
        const int x = pixel(xAtTime(view_, *it, width));
        if (x == last) continue;
        last = x;
        image_.blend(x, 1, static_cast<int>(kTickTop), *it < cursor ? kEventRun : kEventAhead);
    }
}

// Each section's name beside its line; the section the view starts in keeps its name at the left
// edge. Names are cut short of the next section's line.
void TimelineStrip::drawSectionNames(const PixelCanvas& canvas) const
{
    const float width = canvas.width();
    const std::vector<ScriptSection>& sections = script_.sections;
    for (size_t i = 0; i < sections.size(); ++i) {
        const float x = static_cast<float>(xAtTime(view_, sections[i].seconds, width));
        const float next =
            i + 1 < sections.size() ? static_cast<float>(xAtTime(view_, sections[i + 1].seconds, width)) : width;
        if (x >= width || next <= 0.0f) continue;
        const float at = std::max(x, 0.0f) + 4.0f;
        const std::string name = fitted(sections[i].name, kSectionSize, std::min(next, width) - 4.0f - at);
        if (!name.empty()) canvas.text(at, kSectionBase, kSectionSize, kSection, name);
    }
}
