// The editor's watch on the events the show runs: END is skipped (it would end the process; while
// editing the show runs on past it), and the last few lines run are kept with their times, for the
// overlay's corner, where they fade as the show moves on from them. Seeks and rebuilds run events
// too, so the corner shows what ran most recently however the cursor got where it is.
#pragma once
#include <deque>
#include <string>
#include "demo/Demo.h"
#include "shell/PixelCanvas.h"

class RecentLines : public EventWatch {
public:
    static constexpr size_t kKept = 6;
    static constexpr size_t kLongestLine = 100; // characters shown of a line
    static constexpr double kFadeSeconds = 8.0;  // of show time from full to faint

    bool beforeEvent(const ScriptEvent& event, size_t index) override;
    void afterEvent(const ScriptEvent&, size_t) override {}

    // The lines from `bottom` up, the latest lowest, each the fainter the longer ago it ran.
    void draw(const PixelCanvas& canvas, float bottom, double cursor) const;

private:
    struct Ran {
        double seconds;
        std::string line;
    };
    std::deque<Ran> lines_; // the latest last
};
