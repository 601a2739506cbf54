// Offscreen framebuffer with renderbuffer attachments, and the read-back of its colour buffer.
#include "render/RenderTarget.h"
#include <cstdio>
#include <cstring>

RenderTarget::~RenderTarget()
{
    if (framebuffer_) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer_);
    }
    if (colour_) glDeleteRenderbuffers(1, &colour_);
    if (depth_) glDeleteRenderbuffers(1, &depth_);
}

bool RenderTarget::create(int width, int height)
{
    if (width <= 0 || height <= 0) return false;
    width_ = width;
    height_ = height;
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &colour_);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        std::fprintf(stderr, "offscreen framebuffer incomplete (0x%x)\n", status);
        return false;
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    return true;
}

void RenderTarget::readRgb(std::vector<uint8_t>& out)
{
    const size_t row = static_cast<size_t>(width_) * 3;
    bottomUp_.resize(row * height_);
    out.resize(row * height_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, bottomUp_.data());
    for (int y = 0; y < height_; ++y)
        std::memcpy(out.data() + row * y, bottomUp_.data() + row * (height_ - 1 - y), row);
}

// The scissor box limits clears and rasterisation but not vertex work or any effect's own state,
// so a discarded frame advances the demo exactly as a written one does, only cheaper.
void RenderTarget::setDiscarding(bool discard)
{
    if (discard) {
        glScissor(0, 0, 1, 1);
        glEnable(GL_SCISSOR_TEST);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
}
