// An offscreen framebuffer object of a fixed size (8-bit RGB colour like the demo window, 24-bit
// depth and 8-bit stencil) that stays bound while frames are drawn, and read back as RGB rows.
// Needs a current GL 3.3 context; one target at a time.
#pragma once
#include <cstdint>
#include <vector>
#include "resources/Gl.h"

class RenderTarget {
public:
    RenderTarget() = default;
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Makes the framebuffer and binds it for drawing and reading. Prints the reason, false on failure.
    bool create(int width, int height);
    // The colour buffer as width * 3 bytes per row, top row first.
    void readRgb(std::vector<uint8_t>& out);
    // While set, drawing only touches one pixel (for frames that are played but not written).
    void setDiscarding(bool discard);

    int width() const { return width_; }
    int height() const { return height_; }

private:
    GLuint framebuffer_ = 0;
    GLuint colour_ = 0;
    GLuint depth_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> bottomUp_;
};
