// The last lines run, and their fading corner.
#include "shell/RecentLines.h"
#include <algorithm>
#include "demo/ScriptEnd.h"

namespace {
constexpr float kSize = 14.0f, kGap = 4.0f, kLeft = 8.0f;
constexpr float kFaintest = 0.3f; // never fainter, so the corner always says what ran last
} // namespace

bool RecentLines::beforeEvent(const ScriptEvent& event, size_t)
{
    if (isEndLine(event.line)) return false;
    std::string line(event.line);
    if (line.size() > kLongestLine) line.resize(kLongestLine);
    lines_.push_back(Ran{std::max(0.0, event.time), std::move(line)});
    if (lines_.size() > kKept) lines_.pop_front();
    return true;
}

void RecentLines::draw(const PixelCanvas& canvas, float bottom, double cursor) const
{
    const auto alphaOf = [&](const Ran& ran) {
        return std::clamp(1.0f - static_cast<float>((cursor - ran.seconds) / kFadeSeconds), kFaintest, 1.0f);
    };
    float y = bottom;
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it, y += kSize + kGap)
        canvas.rect(kLeft - 2.0f, y - 2.0f, kLeft + PixelCanvas::textWidth(kSize, it->line.size()) + 2.0f,
                    y + kSize + 1.0f, Rgba{0.0f, 0.0f, 0.0f, 0.45f * alphaOf(*it)});
    canvas.beginText();
    y = bottom;
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it, y += kSize + kGap)
        canvas.text(kLeft, y, kSize, Rgba{0.85f, 1.0f, 0.85f, alphaOf(*it)}, it->line);
    canvas.endText();
}
