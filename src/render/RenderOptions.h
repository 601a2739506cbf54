// Command line of the offline renderer: output, frame rate, start and end time, or one frame at a
// given time; frame size, multisampling, video quality, parallel jobs and segments, and the video
// presets ("--preset compo", "--preset web") that set size, rate and encoding at once; an option
// given beside a preset wins over it, wherever it stands. Parsing only; nothing here renders.
// Options take their value as the next argument ("--fps 30"); the "--name=value" form is not
// supported.
#pragma once
#include <cstdint>
#include <string>

struct RenderOptions {
    enum class Output { Frames, Video, SingleFrame };

    Output output = Output::Frames;
    std::string path = "out"; // frame directory, video file (".mp4") or single PNG file
    uint32_t fps = 60;
    double start = 0.0; // seconds; also the time of the single frame
    double end = -1.0;  // seconds; negative: not given
    int width = 1280;
    int height = 720;
    int msaa = 1;    // samples per pixel; 1: no multisampling
    int crf = 18;    // H.264 constant rate factor (lower: better and larger)
    bool crfGiven = false;
    std::string preset;  // "compo", "web" or empty
    std::string profile; // H.264 profile ("main", "high"); empty: x264's own choice
    std::string level;   // H.264 level ("4.1"); empty: x264's own choice
    int videoKbps = 0;   // >0: constant bit rate in kbit/s (filler keeps it up) instead of crf
    int audioKbps = 192; // AAC bit rate
    int jobs = 1;    // processes rendering consecutive segments at once
    int segment = 0; // 1-based segment of `segments` to render alone; 0: the whole span
    int segments = 0;
    int join = 0;        // >0: join that many rendered video segments instead of rendering
    int progressFd = -1; // >=0: frame counts as lines to this descriptor instead of a bar
    bool help = false;
};

constexpr uint32_t kMaxRenderFps = 240;
constexpr double kMaxRenderSeconds = 86400.0; // one day: frame clocks stay far from 32-bit wrap
// The largest frame: a side up to 3840 pixels and no more pixels than 3840 x 2160 (so portrait
// frames fit too); the GL driver's own limits are checked when rendering starts.
constexpr int kMaxRenderSide = 3840;
constexpr long kMaxRenderPixels = 3840L * 2160L;
constexpr int kMaxRenderMsaa = 32;
constexpr int kMaxRenderJobs = 64;
constexpr int kMaxRenderSegments = 10000;

// Fills `options` from the arguments after the program name. False with a one-line reason in
// `error` for an unknown option, a missing or malformed value, or values out of range.
bool parseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error);

// The --help text.
const char* renderUsage();

// Whether a path names a video to encode (ends in ".mp4", any letter case).
bool isVideoPath(const std::string& path);
