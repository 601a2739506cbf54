// An offscreen framebuffer object of a fixed size (8-bit RGB colour like the demo window, 24-bit
// depth and 8-bit stencil) that stays bound while frames are drawn, optionally multisampled, and
// read back as RGB rows. Reads go through two pixel buffers: the read of one frame is started
// before the next is drawn and collected after it, so the copy overlaps drawing where the driver
// allows. Needs a current GL 3.3 context; one target at a time.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "resources/Gl.h"

// Whether the driver can render frames of this size with this many samples. False with a
// one-line reason in `error` when not.
bool checkRenderLimits(int width, int height, int samples, std::string& error);

class RenderTarget {
public:
    RenderTarget() = default;
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Makes the framebuffer (with `samples` > 1 a multisampled one, resolved before each read)
    // and binds it for drawing. Prints the reason, false on failure.
    bool create(int width, int height, int samples = 1);
    // Starts reading the frame just drawn. At most two reads are pending; a third start is
    // ignored, so call finishRead in between.
    void startRead();
    // The oldest pending read as width * 3 bytes per row, top row first. False when none is pending.
    bool finishRead(std::vector<uint8_t>& out);
    int pendingReads() const { return pending_; }

    int width() const { return width_; }
    int height() const { return height_; }

private:
    GLuint framebuffer_ = 0; // drawn into
    GLuint colour_ = 0;
    GLuint depth_ = 0;
    GLuint resolved_ = 0; // single-sampled copy of a multisampled framebuffer
    GLuint resolvedColour_ = 0;
    GLuint pixelBuffers_[2] = {0, 0};
    int next_ = 0; // pixel buffer of the next read
    int pending_ = 0;
    int width_ = 0;
    int height_ = 0;
};
