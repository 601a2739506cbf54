// Rendering a span in consecutive segments: by several processes of this program at once
// (--jobs), or one segment per run (--segment) with the video parts joined afterwards (--join).
#pragma once
#include <string>
#include <vector>
#include "render/RenderOptions.h"
#include "render/RenderPlan.h"

// The video file of segment k of n beside `video`: "show.mp4" -> "show.part2of4.mp4".
std::string segmentPath(const std::string& video, int k, int n);

// The command line of job k (1-based) of options.jobs: this program with the options that settle
// its frames and encoding, "--segment K/N" and "--progress-fd FD".
std::vector<std::string> jobArguments(const RenderOptions& options, int k, int fd);

// Renders the plan in options.jobs child processes, one segment each, with one progress bar for
// the whole; a video's segments are joined and the music added. Returns the exit status. The jobs
// run `program` (tests give a stand-in).
int runJobs(const RenderOptions& options, const FramePlan& plan, const std::string& music,
            const std::string& program = "/proc/self/exe");

// Joins the options.join segment videos of options.path, without re-encoding, into options.path
// with the plan's span of the music file. Prints the reason and returns false on failure.
bool joinSegments(const RenderOptions& options, const FramePlan& plan, const std::string& music);
