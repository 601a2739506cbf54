// Offscreen drawing for GL tests: a colour framebuffer, bound while it lives, that can be read back,
// and textures whose texels name their own coordinates so every drawn pixel tells its source.
#pragma once
#include <cstdint>
#include <vector>
#include "resources/Gl.h"

// In a namespace of its own: the offline renderer has a class of the same name in the core library.
namespace testsupport {

class RenderTarget {
public:
    // Binds a w x h RGBA target, sets the viewport to it and clears it to `clear` (default: transparent black).
    RenderTarget(int w, int h, std::vector<float> clear = {0, 0, 0, 0}) : width(w), height(h), clear_(clear)
    {
        glGenRenderbuffers(1, &colour_);
        glBindRenderbuffer(GL_RENDERBUFFER, colour_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
        glGenFramebuffers(1, &fbo_);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
        glViewport(0, 0, w, h);
        this->clear();
    }
    ~RenderTarget()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo_);
        glDeleteRenderbuffers(1, &colour_);
    }
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    void clear() const
    {
        glClearColor(clear_[0], clear_[1], clear_[2], clear_[3]);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // The w x h pixels from (x, y), or the whole target; pixel (x, y) starts at byte (y * w + x) * 4.
    std::vector<uint8_t> read(int x = 0, int y = 0, int w = -1, int h = -1) const
    {
        if (w < 0) w = width, h = height;
        std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
        glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    std::vector<uint8_t> pixel(int x, int y) const { return read(x, y, 1, 1); }

    const int width, height;

private:
    GLuint fbo_ = 0, colour_ = 0;
    std::vector<float> clear_;
};

// A size x size nearest-filtered texture whose texel (x, y) (y counted from t = 0) holds red
// step * x, green step * y, blue 0 and the given alpha.
inline GLuint makeCoordinateTexture(int size, int step, uint8_t alpha = 255)
{
    std::vector<uint8_t> texels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) texels.insert(texels.end(), {uint8_t(step * x), uint8_t(step * y), 0, alpha});
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return name;
}

}  // namespace testsupport

using testsupport::makeCoordinateTexture;
using testsupport::RenderTarget;
