// Video output through Debian's ffmpeg: raw RGB frames are written to the stdin of an ffmpeg
// process that encodes H.264 (libx264, yuv420p) at a fixed rate, at a constant rate factor or at a
// constant bit rate, with an optional profile and level, and muxes a span of a music file as
// stereo AAC into an MP4 with its index at the front. POSIX only (fork/exec, no shell, so names
// need no quoting).
#pragma once
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

struct VideoSettings {
    std::string path; // output file, MP4 whatever its name ends in
    int width = 0;
    int height = 0;
    uint32_t fps = 60;
    int crf = 18;            // x264 constant rate factor, used when videoKbps is 0
    int videoKbps = 0;       // >0: constant bit rate, kept up with filler data
    std::string profile;     // "main", "high"; empty: x264's choice
    std::string level;       // "4.1"; empty: x264's choice
    int audioKbps = 192;
    std::string musicPath;   // empty: no audio stream
    double musicStart = 0.0; // seconds into the music where the video starts
    double duration = 0.0;   // seconds of music to take (the video's length)
};

// The ffmpeg command line for the settings (program name first).
std::vector<std::string> ffmpegArguments(const VideoSettings& settings);
// The audio encoding part of an ffmpeg command line: AAC stereo at the bit rate.
std::vector<std::string> audioArguments(int kbps);

class VideoEncoder {
public:
    VideoEncoder() = default;
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Starts ffmpeg. False (with the reason on standard error) when it cannot be started.
    bool open(const VideoSettings& settings);
    // One frame of width * height * 3 bytes, top row first. False once ffmpeg has gone away.
    bool write(const std::vector<uint8_t>& rgb);
    // Ends the input and waits for ffmpeg. True when it finished with status 0.
    bool finish();

private:
    int pipe_ = -1;
    pid_t child_ = -1;
};
