// PNG scanline reconstruction and Adam7 de-interlacing.
#include "resources/PngUnfilter.h"
#include "resources/DecodeErrors.h"

#include <cstdlib>
#include <cstring>

namespace {

struct Adam7Pass {
    uint32_t firstColumn, firstRow, columnStep, rowStep;
};
const Adam7Pass kPasses[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

uint32_t passExtent(uint32_t size, uint32_t first, uint32_t step)
{
    return size > first ? uint32_t((uint64_t(size) - first + step - 1) / step) : 0;
}

// Copies pixels of BW bytes from one unfiltered pass row to their places.
template <size_t BW>
void placeWholeBytes(uint8_t* raw, const uint8_t* row, uint32_t count, uint64_t rowStart,
                     const Adam7Pass& pass, uint64_t stride) {
    uint8_t* dst = raw + rowStart * stride + uint64_t(pass.firstColumn) * BW;
    const size_t step = size_t(pass.columnStep) * BW;
    for (uint32_t i = 0; i < count; ++i, dst += step, row += BW) std::memcpy(dst, row, BW);
}

void placeBits(uint8_t* raw, const uint8_t* row, uint32_t count, uint64_t rowStart,
               const Adam7Pass& pass, uint64_t stride, uint32_t bpp) {
    // bpp is 1, 2 or 4, so a sample never straddles a byte.
    const unsigned mask = (1u << bpp) - 1;
    uint8_t* dstRow = raw + rowStart * stride;
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t srcBit = uint64_t(i) * bpp;
        const unsigned value = (row[srcBit >> 3] >> (8 - bpp - (srcBit & 7))) & mask;
        const uint64_t dstBit = (uint64_t(pass.firstColumn) + uint64_t(i) * pass.columnStep) * bpp;
        dstRow[dstBit >> 3] |= uint8_t(value << (8 - bpp - (dstBit & 7)));
    }
}

void placePassRow(uint8_t* raw, const uint8_t* row, uint32_t count, uint64_t rowStart,
                  const Adam7Pass& pass, uint64_t stride, uint32_t bpp) {
    switch (bpp) {
    case 8: placeWholeBytes<1>(raw, row, count, rowStart, pass, stride); break;
    case 16: placeWholeBytes<2>(raw, row, count, rowStart, pass, stride); break;
    case 24: placeWholeBytes<3>(raw, row, count, rowStart, pass, stride); break;
    case 32: placeWholeBytes<4>(raw, row, count, rowStart, pass, stride); break;
    case 48: placeWholeBytes<6>(raw, row, count, rowStart, pass, stride); break;
    case 64: placeWholeBytes<8>(raw, row, count, rowStart, pass, stride); break;
    default: placeBits(raw, row, count, rowStart, pass, stride, bpp); break;
    }
}

}  // namespace

uint8_t paethPredictor(int left, int up, int upLeft)
{
    const int p = left + up - upLeft;
    const int dLeft = std::abs(p - left);
    const int dUp = std::abs(p - up);
    const int dUpLeft = std::abs(p - upLeft);
    if (dLeft <= dUp && dLeft <= dUpLeft) return uint8_t(left);
    if (dUp <= dUpLeft) return uint8_t(up);
    return uint8_t(upLeft);
}

int unfilterScanline(uint8_t* recon, const uint8_t* scanline, const uint8_t* prior,
                     size_t byteWidth, uint8_t filterType, size_t length) {
    if (filterType > 4) return PngBadFilterType;
    if (length == 0) return 0;  // empty rows of zero-width images: nothing to copy
    const size_t head = byteWidth < length ? byteWidth : length;
    switch (filterType) {
    case 0:
        if (recon != scanline) std::memmove(recon, scanline, length);
        return 0;
    case 1:
        if (recon != scanline) std::memmove(recon, scanline, head);
        for (size_t i = byteWidth; i < length; ++i) recon[i] = uint8_t(scanline[i] + recon[i - byteWidth]);
        return 0;
    case 2:
        if (prior) {
            for (size_t i = 0; i < length; ++i) recon[i] = uint8_t(scanline[i] + prior[i]);
        } else if (recon != scanline) {
            std::memmove(recon, scanline, length);
        }
        return 0;
    case 3:
        if (prior) {
            for (size_t i = 0; i < head; ++i) recon[i] = uint8_t(scanline[i] + (prior[i] >> 1));
            for (size_t i = byteWidth; i < length; ++i)
                recon[i] = uint8_t(scanline[i] + ((recon[i - byteWidth] + prior[i]) >> 1));
        } else {
            if (recon != scanline) std::memmove(recon, scanline, head);
            for (size_t i = byteWidth; i < length; ++i)
                recon[i] = uint8_t(scanline[i] + (recon[i - byteWidth] >> 1));
        }
        return 0;
    case 4:
        if (prior) {
            for (size_t i = 0; i < head; ++i) recon[i] = uint8_t(scanline[i] + prior[i]);
            for (size_t i = byteWidth; i < length; ++i)
                recon[i] = uint8_t(scanline[i] + paethPredictor(recon[i - byteWidth], prior[i],
                                                                prior[i - byteWidth]));
        } else {
            // Without a prior row the predictor always picks the left byte.
            if (recon != scanline) std::memmove(recon, scanline, head);
            for (size_t i = byteWidth; i < length; ++i) recon[i] = uint8_t(scanline[i] + recon[i - byteWidth]);
        }
        return 0;
    default:
        return PngBadFilterType;
    }
}

uint64_t pngRowBytes(uint64_t width, uint32_t bpp) { return (width * bpp + 7) / 8; }

uint64_t pngFilteredBytes(uint32_t width, uint32_t height, uint32_t bpp, bool interlaced)
{
    if (!interlaced) return uint64_t(height) * (1 + pngRowBytes(width, bpp));
    uint64_t total = 0;
    for (const Adam7Pass& pass : kPasses) {
        const uint32_t passWidth = passExtent(width, pass.firstColumn, pass.columnStep);
        const uint32_t passHeight = passExtent(height, pass.firstRow, pass.rowStep);
        if (passWidth == 0) continue;
        total += uint64_t(passHeight) * (1 + pngRowBytes(passWidth, bpp));
    }
    return total;
}

int unfilterImage(uint8_t* raw, const uint8_t* in, uint32_t width, uint32_t height, uint32_t bpp)
{
    const size_t stride = size_t(pngRowBytes(width, bpp));
    const size_t byteWidth = (bpp + 7) / 8;
    const uint8_t* prior = nullptr;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* line = in + size_t(y) * (stride + 1);
        uint8_t* recon = raw + size_t(y) * stride;
        if (int error = unfilterScanline(recon, line + 1, prior, byteWidth, line[0], stride)) return error;
        prior = recon;
    }
    return 0;
}

int deinterlaceAdam7(uint8_t* raw, uint8_t* in, uint32_t width, uint32_t height, uint32_t bpp)
{
    const uint64_t stride = pngRowBytes(width, bpp);
    const size_t byteWidth = (bpp + 7) / 8;
    for (const Adam7Pass& pass : kPasses) {
        const uint32_t passWidth = passExtent(width, pass.firstColumn, pass.columnStep);
        const uint32_t passHeight = passExtent(height, pass.firstRow, pass.rowStep);
        if (passWidth == 0) continue;
        const size_t passStride = size_t(pngRowBytes(passWidth, bpp));
        const uint8_t* prior = nullptr;
        for (uint32_t y = 0; y < passHeight; ++y) {
            uint8_t* line = in + size_t(y) * (passStride + 1);
            // Unfiltered in place, over the filtered bytes of the same row.
            uint8_t* recon = line + 1;
            if (int error = unfilterScanline(recon, recon, prior, byteWidth, line[0], passStride)) return error;
            const uint64_t row = pass.firstRow + uint64_t(y) * pass.rowStep;
            placePassRow(raw, recon, passWidth, row, pass, stride, bpp);
            prior = recon;
        }
        in += size_t(passHeight) * (passStride + 1);
    }
    return 0;
}
