// The editor's timeline strip as numbers: which stretch of the music it shows, how a window x
// coordinate maps to a time and back, how it zooms and how it follows the cursor. Pure arithmetic
// (no GL, no input), so the drawing and the mouse use the same mapping.
#pragma once

struct TimelineView {
    static constexpr double kMinSpan = 1.0;     // seconds across the strip, zoomed in all the way
    static constexpr double kMaxSpan = 1024.0;  // zoomed out all the way
    static constexpr double kDefaultSpan = 16.0;

    double start = 0.0;          // the time at the strip's left edge
    double span = kDefaultSpan;  // seconds across the whole width
};

// The time at window x (0 at the left edge, `width` at the right) and back.
double timeAtX(const TimelineView& view, double x, double width);
double xAtTime(const TimelineView& view, double seconds, double width);
// The view with the cursor in its middle, but never starting before 0 s.
TimelineView followed(TimelineView view, double cursor);
// The view zoomed by `steps` (positive: in, each step a factor of the square root of 2) about its
// middle, within kMinSpan and kMaxSpan.
TimelineView zoomed(TimelineView view, int steps);
