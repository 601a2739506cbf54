// The strip's time mapping, zoom and follow.
#include "demo/TimelineView.h"
#include <algorithm>
#include <cmath>

double timeAtX(const TimelineView& view, double x, double width)
{
    return view.start + x / width * view.span;
}

double xAtTime(const TimelineView& view, double seconds, double width)
{
    return (seconds - view.start) / view.span * width;
}

TimelineView followed(TimelineView view, double cursor)
{
    view.start = std::max(0.0, cursor - view.span / 2.0);
    return view;
}

TimelineView zoomed(TimelineView view, int steps)
{
    const double middle = view.start + view.span / 2.0;
    view.span = std::clamp(view.span * std::pow(std::sqrt(0.5), steps), TimelineView::kMinSpan,
                           TimelineView::kMaxSpan);
    view.start = middle - view.span / 2.0;
    return view;
}
