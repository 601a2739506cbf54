// Tempo map arithmetic: seconds of a bar:beat summed over the segments before it, and back.
// Seconds are computed as beats * 60 / bpm (product first), so whole beats at a tempo such as 125
// BPM give the same double as the decimal seconds written out (17:1 at 125 BPM is exactly 30.72).
#include "script/TempoMap.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr double kSnap = 1e-9; // a billionth of a beat: float noise, not music

bool before(const BarBeat& a, const BarBeat& b)
{
    return a.bar < b.bar || (a.bar == b.bar && a.beat < b.beat);
}

double snapped(double beats)
{
    const double whole = std::round(beats);
    return std::fabs(beats - whole) < kSnap ? whole : beats;
}

const TempoSegment kNoTempo{};
} // namespace

void TempoMap::start(double bpm, double offset, int beatsPerBar)
{
    segments_.assign(1, TempoSegment{BarBeat{}, offset, bpm, beatsPerBar});
}

bool TempoMap::change(BarBeat at, double bpm, int beatsPerBar, std::string& error)
{
    if (empty()) return error = "a tempo change needs a TEMPO line without @ first", false;
    if (!(bpm > 0.0 && bpm <= kMaxBpm)) return error = "BPM must be above 0 and at most 10000", false;
    if (beatsPerBar < 0 || beatsPerBar > kMaxBeatsPerBar)
        return error = "BEATS must be a whole number from 1 to 64", false;
    const std::string problem = problemOf(at);
    if (!problem.empty()) return error = "the change at " + formatBarBeat(at) + " is " + problem, false;
    const TempoSegment& last = segments_.back();
    if (!before(last.at, at))
        return error = "the change at " + formatBarBeat(at) + " does not come after " + formatBarBeat(last.at), false;
    const int length = beatsPerBar > 0 ? beatsPerBar : last.beatsPerBar;
    if (length != last.beatsPerBar && at.beat != 1.0)
        return error = "a change of beats per bar must start on beat 1", false;
    segments_.push_back(TempoSegment{at, secondsAt(at), bpm, length});
    return true;
}

std::string TempoMap::problemOf(BarBeat at) const
{
    if (!std::isfinite(at.beat)) return "not a number";
    if (at.bar < 1) return "before bar 1";
    if (at.bar > kMaxBar) return "past bar 100000000";
    if (at.beat < 1.0) return "before beat 1";
    const int length = empty() ? 4 : segments_[segmentIndexAt(BarBeat{at.bar, 1.0})].beatsPerBar;
    if (at.beat >= length + 1.0) return "past the bar of " + std::to_string(length) + " beats";
    return "";
}

size_t TempoMap::segmentIndexAt(BarBeat at) const
{
    size_t i = 0;
    while (i + 1 < segments_.size() && !before(at, segments_[i + 1].at)) ++i;
    return i;
}

size_t TempoMap::segmentIndexAt(double seconds) const
{
    size_t i = 0;
    while (i + 1 < segments_.size() && segments_[i + 1].seconds <= seconds) ++i;
    return i;
}

const TempoSegment& TempoMap::segmentAt(double seconds) const
{
    return empty() ? kNoTempo : segments_[segmentIndexAt(seconds)];
}

double TempoMap::secondsAt(BarBeat at) const
{
    if (empty()) return 0.0;
    const TempoSegment& s = segments_[segmentIndexAt(at)];
    const double beats = static_cast<double>(at.bar - s.at.bar) * s.beatsPerBar + (at.beat - s.at.beat);
    return s.seconds + beats * 60.0 / s.bpm;
}

BarBeat TempoMap::barBeatAt(double seconds) const
{
    if (empty() || std::isnan(seconds)) return BarBeat{};
    const TempoSegment& s = segmentAt(seconds);
    // Beats from the start of the segment's first bar, kept within the bars a map can name.
    const double limit = static_cast<double>(kMaxBar) * s.beatsPerBar;
    const double position =
        std::clamp(snapped((s.at.beat - 1.0) + (seconds - s.seconds) * s.bpm / 60.0), -limit, limit);
    const double bars = std::floor(position / s.beatsPerBar);
    return BarBeat{s.at.bar + static_cast<int64_t>(bars), 1.0 + snapped(position - bars * s.beatsPerBar)};
}

double TempoMap::nearestSixteenth(double seconds) const
{
    if (empty() || !std::isfinite(seconds)) return seconds;
    // The sixteenths on either side in the bars where the time falls; the nearer one in seconds
    // (they may lie in segments of different tempo).
    const BarBeat at = barBeatAt(seconds);
    const double down = std::floor((at.beat - 1.0) * 4.0) / 4.0;
    const double early = secondsAt(BarBeat{at.bar, 1.0 + down});
    const double late = secondsAt(BarBeat{at.bar, 1.0 + down + 0.25});
    return seconds - early <= late - seconds ? early : late;
}

std::vector<GridLine> TempoMap::grid(double from, double to, int subdivisions, size_t limit) const
{
    std::vector<GridLine> lines;
    if (empty() || !(from <= to)) return lines;
    const int parts = std::clamp(subdivisions, 1, 64);
    const BarBeat first = barBeatAt(from);
    int64_t bar = first.bar;
    int64_t step = static_cast<int64_t>(std::ceil((first.beat - 1.0) * parts - kSnap));
    while (lines.size() < limit) {
        const int length = segments_[segmentIndexAt(BarBeat{bar, 1.0})].beatsPerBar;
        if (step >= static_cast<int64_t>(length) * parts) {
            ++bar;
            step = 0;
            continue;
        }
        const BarBeat at{bar, 1.0 + static_cast<double>(step) / parts};
        const double seconds = secondsAt(at);
        if (seconds > to) break;
        lines.push_back(GridLine{seconds, at, step == 0});
        ++step;
    }
    return lines;
}

std::string formatBarBeat(BarBeat at)
{
    char beat[64];
    std::snprintf(beat, sizeof beat, "%.3f", at.beat);
    std::string text = beat;
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    return std::to_string(at.bar) + ":" + text;
}
