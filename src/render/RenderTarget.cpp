// Offscreen framebuffer with renderbuffer attachments, the resolve of multisampled frames and the
// read-back of the colour buffer through pixel buffer objects.
#include "render/RenderTarget.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
bool makeFramebuffer(GLuint& framebuffer, GLuint& colour, GLuint* depth, int width, int height, int samples)
{
    glGenFramebuffers(1, &framebuffer);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples > 1 ? samples : 0, GL_RGB8, width, height);
    if (depth) {
        glGenRenderbuffers(1, depth);
        glBindRenderbuffer(GL_RENDERBUFFER, *depth);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples > 1 ? samples : 0, GL_DEPTH24_STENCIL8, width,
                                         height);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    if (depth) glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, *depth);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        std::fprintf(stderr, "offscreen framebuffer incomplete (0x%x)\n", status);
        return false;
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    return true;
}
} // namespace

bool checkRenderLimits(int width, int height, int samples, std::string& error)
{
    GLint renderbuffer = 0, samplesMax = 0, viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    glGetIntegerv(GL_MAX_SAMPLES, &samplesMax);
    const int maxWidth = std::min(renderbuffer, viewport[0]), maxHeight = std::min(renderbuffer, viewport[1]);
    char text[160];
    if (width > maxWidth || height > maxHeight) {
        std::snprintf(text, sizeof text, "--size %dx%d is above the GL driver's limit of %dx%d", width, height,
                      maxWidth, maxHeight);
        error = text;
        return false;
    }
    if (samples > 1 && samples > samplesMax) {
        std::snprintf(text, sizeof text, "--msaa %d is more than the GL driver offers (at most %d)", samples,
                      samplesMax < 1 ? 1 : samplesMax);
        error = text;
        return false;
    }
    return true;
}

RenderTarget::~RenderTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    for (GLuint f : {framebuffer_, resolved_})
        if (f) glDeleteFramebuffers(1, &f);
    for (GLuint r : {colour_, depth_, resolvedColour_})
        if (r) glDeleteRenderbuffers(1, &r);
    if (pixelBuffers_[0]) glDeleteBuffers(2, pixelBuffers_);
}

bool RenderTarget::create(int width, int height, int samples)
{
    if (width <= 0 || height <= 0) return false;
    width_ = width;
    height_ = height;
    if (samples > 1 && !makeFramebuffer(resolved_, resolvedColour_, nullptr, width, height, 1)) return false;
    if (!makeFramebuffer(framebuffer_, colour_, &depth_, width, height, samples)) return false;
    const GLsizeiptr bytes = static_cast<GLsizeiptr>(width) * height * 4;
    glGenBuffers(2, pixelBuffers_);
    for (GLuint buffer : pixelBuffers_) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        glBufferData(GL_PIXEL_PACK_BUFFER, bytes, nullptr, GL_STREAM_READ);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    return true;
}

void RenderTarget::startRead()
{
    if (pending_ == 2) return;
    if (resolved_) {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved_);
        glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, resolved_);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, pixelBuffers_[next_]);
    glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    if (resolved_) glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    next_ = 1 - next_;
    ++pending_;
}

bool RenderTarget::finishRead(std::vector<uint8_t>& out)
{
    if (pending_ == 0) return false;
    const int oldest = pending_ == 2 ? next_ : 1 - next_;
    --pending_;
    const size_t row = static_cast<size_t>(width_) * 3;
    out.resize(row * height_);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, pixelBuffers_[oldest]);
    const auto* pixels = static_cast<const uint8_t*>(
        glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0, static_cast<GLsizeiptr>(width_) * height_ * 4, GL_MAP_READ_BIT));
    if (!pixels) {
        std::memset(out.data(), 0, out.size());
    } else {
        // GL's rows run bottom-up; PNG and video rows top-down. Four bytes a pixel in BGRA order
        // is the layout software drivers keep, so the read is a plain copy.
        for (int y = 0; y < height_; ++y) {
            const uint8_t* from = pixels + static_cast<size_t>(height_ - 1 - y) * width_ * 4;
            uint8_t* to = out.data() + row * y;
            for (int x = 0; x < width_; ++x, from += 4, to += 3) {
                to[0] = from[2];
                to[1] = from[1];
                to[2] = from[0];
            }
        }
        glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    return pixels != nullptr;
}
