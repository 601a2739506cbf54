#include "support/RenderTarget.h"
#include <cstring>

namespace testsupport {

RenderTarget::RenderTarget(int w, int h, const float clearColour[4]) : width(w), height(h)
{
    if (clearColour) std::memcpy(clear_, clearColour, sizeof clear_);
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glViewport(0, 0, w, h);
    clear();
}

RenderTarget::~RenderTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &fbo_);
    glDeleteRenderbuffers(1, &colour_);
}

void RenderTarget::clear() const
{
    glClearColor(clear_[0], clear_[1], clear_[2], clear_[3]);
    glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<uint8_t> RenderTarget::read() const
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::vector<uint8_t> RenderTarget::pixel(int x, int y) const
{
    std::vector<uint8_t> p(4);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    return p;
}

GLuint makeCoordinateTexture(int size, int step, uint8_t alpha)
{
    std::vector<uint8_t> texels(static_cast<size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint8_t* t = &texels[(static_cast<size_t>(y) * size + x) * 4];
            t[0] = static_cast<uint8_t>(step * x);
            t[1] = static_cast<uint8_t>(step * y);
            t[2] = 0;
            t[3] = alpha;
        }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return name;
}

}  // namespace testsupport
