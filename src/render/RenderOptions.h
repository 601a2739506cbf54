// Command line of the offline renderer: output, frame rate, start and end time, or one frame at a
// given time. Parsing only; nothing here renders. Options take their value as the next argument
// ("--fps 30"); the "--name=value" form is not supported.
#pragma once
#include <cstdint>
#include <string>

struct RenderOptions {
    enum class Output { Frames, Video, SingleFrame };

    Output output = Output::Frames;
    std::string path = "out";    // frame directory, video file (".mp4") or single PNG file
    uint32_t fps = 60;
    double start = 0.0;          // seconds; also the time of the single frame
    double end = -1.0;           // seconds; negative: not given
    bool help = false;
};

constexpr uint32_t kMaxRenderFps = 240;
constexpr double kMaxRenderSeconds = 86400.0; // one day: frame clocks stay far from 32-bit wrap

// Fills `options` from the arguments after the program name. False with a one-line reason in
// `error` for an unknown option, a missing or malformed value, or values out of range.
bool parseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error);

// The --help text.
const char* renderUsage();

// Whether a path names a video to encode (ends in ".mp4", any letter case).
bool isVideoPath(const std::string& path);
