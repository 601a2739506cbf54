// Where rendered frames go: numbered PNG files in a directory, one PNG file, or an ffmpeg video.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "render/VideoEncoder.h"

class FrameSink {
public:
    virtual ~FrameSink() = default;
    // One frame (width * height * 3 bytes, top row first) with its number in the demo. False,
    // after printing why, when it could not be stored.
    virtual bool write(uint64_t frame, const std::vector<uint8_t>& rgb) = 0;
    // As write, but the sink may keep the bytes and leave other storage in `rgb`.
    virtual bool take(uint64_t frame, std::vector<uint8_t>& rgb) { return write(frame, rgb); }
    // Completes the output. False, after printing why, when that failed.
    virtual bool finish() = 0;
};

// Makes the directory and its parents where missing (an empty name is the working directory).
// False, with a one-line reason in `error`, when it cannot be made or a file is in the way.
bool makeDirectory(const std::string& directory, std::string& error);

// Each file is written under a temporary name (the final name + ".partial") and renamed when
// complete, so a failed or stopped render leaves no truncated file under a final name.
// "<directory>/frame_NNNNNN.png" per frame (six digits or more); the directory must exist.
std::unique_ptr<FrameSink> openPngDirectory(const std::string& directory, int width, int height);
// Exactly one frame into `path`.
std::unique_ptr<FrameSink> openPngFile(const std::string& path, int width, int height);
// An ffmpeg process encoding the frames (see VideoEncoder) into settings.path.
std::unique_ptr<FrameSink> openVideo(const VideoSettings& settings);

// The file name of a frame inside a frame directory.
std::string frameFileName(const std::string& directory, uint64_t frame);
