// Offscreen drawing for GL tests: a colour framebuffer that is bound while it lives and can be read
// back, and textures whose texels name their own coordinates so every drawn pixel tells its source.
#pragma once
#include <cstdint>
#include <vector>
#include "resources/Gl.h"

// In a namespace of its own: the offline renderer has a class of the same name in the core library.
namespace testsupport {

class RenderTarget {
public:
    // Binds a width x height RGBA target, sets the viewport to it and clears it to `clear`.
    RenderTarget(int width, int height, const float clear[4] = nullptr);
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    void clear() const;
    // The whole target; pixel (x, y) starts at byte (y * width + x) * 4.
    std::vector<uint8_t> read() const;
    // One pixel, read straight from GL.
    std::vector<uint8_t> pixel(int x, int y) const;

    const int width, height;

private:
    GLuint fbo_ = 0, colour_ = 0;
    float clear_[4] = {0, 0, 0, 0};
};

// A size x size nearest-filtered texture whose texel (x, y) (y counted from t = 0) holds red
// step * x, green step * y, blue 0 and the given alpha.
GLuint makeCoordinateTexture(int size, int step, uint8_t alpha = 255);

}  // namespace testsupport

using testsupport::makeCoordinateTexture;
using testsupport::RenderTarget;
