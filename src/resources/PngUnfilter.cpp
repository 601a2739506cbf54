// PNG scanline reconstruction and the Adam7 pass layout.
#include "resources/PngUnfilter.h"
#include "resources/DecodeErrors.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Row reconstruction. `r` (recon) is `s` (scanline) itself or lies before it in
// the same buffer, `p` (prior) is a finished row before both. Each loop reads the
// bytes of a pixel (or of a 16-byte block) before it stores the result, so a
// store only ever lands on scanline bytes already read.

// Sub, and Paeth without a prior row: the left byte is the prediction.
void subScalar(uint8_t* r, const uint8_t* s, size_t bw, size_t length)
{
    std::memmove(r, s, bw < length ? bw : length);
    for (size_t i = bw; i < length; ++i) r[i] = uint8_t(s[i] + r[i - bw]);
}

void averageFirstRow(uint8_t* r, const uint8_t* s, size_t bw, size_t length)
{
    std::memmove(r, s, bw < length ? bw : length);
    for (size_t i = bw; i < length; ++i) r[i] = uint8_t(s[i] + (r[i - bw] >> 1));
}

void upScalar(uint8_t* r, const uint8_t* s, const uint8_t* p, size_t from, size_t length)
{
    for (size_t i = from; i < length; ++i) r[i] = uint8_t(s[i] + p[i]);
}

// Sub, Avg and Paeth one byte at a time, for any pixel width.
void unfilterRowScalar(uint8_t* r, const uint8_t* s, const uint8_t* p, size_t bw, uint8_t type, size_t length)
{
    const size_t head = bw < length ? bw : length;
    switch (type) {
    case 1: subScalar(r, s, bw, length); break;
    case 2: upScalar(r, s, p, 0, length); break;
    case 3:
        for (size_t i = 0; i < head; ++i) r[i] = uint8_t(s[i] + (p[i] >> 1));
        for (size_t i = bw; i < length; ++i) r[i] = uint8_t(s[i] + ((r[i - bw] + p[i]) >> 1));
        break;
    case 4:
        upScalar(r, s, p, 0, head);
        for (size_t i = bw; i < length; ++i) r[i] = uint8_t(s[i] + paethPredictor(r[i - bw], p[i], p[i - bw]));
        break;
    }
}

#if defined(__SSE2__) && (defined(__x86_64__) || defined(_M_X64))
#define ZEMBLAR_PNG_SSE2 1

// One pixel of BW bytes (2, 3, 4, 6 or 8) in the low bytes of a register, the
// rest zero. Built from whole loads: bytes copied into a wider variable would
// be read back before their stores can be forwarded, a stall on every pixel.
template <size_t BW>
__m128i loadPixel(const uint8_t* p)
{
    uint32_t low = 0;
    uint16_t high = 0;
    if constexpr (BW == 8) return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    if constexpr (BW == 2 || BW == 3) std::memcpy(&high, p, 2);
    if constexpr (BW == 3) return _mm_cvtsi32_si128(int(high | uint32_t(p[2]) << 16));
    if constexpr (BW == 2) return _mm_cvtsi32_si128(int(high));
    std::memcpy(&low, p, 4);
    if constexpr (BW == 4) return _mm_cvtsi32_si128(int(low));
    std::memcpy(&high, p + 4, 2);
    return _mm_cvtsi64_si128(static_cast<long long>(low | uint64_t(high) << 32));
}

template <size_t BW>
void storePixel(uint8_t* p, __m128i v)
{
    const uint64_t bits = static_cast<uint64_t>(_mm_cvtsi128_si64(v));
    std::memcpy(p, &bits, BW);
}

// Up sixteen bytes at a time; the tail byte by byte.
void upSse2(uint8_t* r, const uint8_t* s, const uint8_t* p, size_t length)
{
    size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(r + i), _mm_add_epi8(x, y));
    }
    upScalar(r, s, p, i, length);
}

// Sub, Avg and Paeth a pixel at a time; `length` is a multiple of BW. Left and
// up-left start at zero, which gives the first pixel's predictions of PNG.
template <size_t BW>
void unfilterRowSse2(uint8_t* r, const uint8_t* s, const uint8_t* p, uint8_t type, size_t length)
{
    const __m128i zero = _mm_setzero_si128();
    switch (type) {
    case 1: {
        __m128i a = zero;
        for (size_t i = 0; i < length; i += BW) {
            a = _mm_add_epi8(a, loadPixel<BW>(s + i));
            storePixel<BW>(r + i, a);
        }
        break;
    }
    case 2: upSse2(r, s, p, length); break;
    case 3: {
        // The rounding-up average of complements is the complement of the rounding-down
        // average: ~a' = ~(x + ~avg(~a, ~b)) = avg(~a, ~b) - x. Carrying ~a leaves two
        // steps between one pixel and the next.
        const __m128i ones = _mm_set1_epi8(-1);
        __m128i notA = ones;
        for (size_t i = 0; i < length; i += BW) {
            const __m128i notB = _mm_xor_si128(loadPixel<BW>(p + i), ones);
            notA = _mm_sub_epi8(_mm_avg_epu8(notA, notB), loadPixel<BW>(s + i));
            storePixel<BW>(r + i, _mm_xor_si128(notA, ones));
        }
        break;
    }
    case 4: {
        // In 16-bit lanes: |p - a| = |b - c|, |p - b| = |a - c|, |p - c| = |a + b - 2c|.
        const __m128i lowByte = _mm_set1_epi16(0xFF);
        __m128i a = zero, c = zero;
        for (size_t i = 0; i < length; i += BW) {
            const __m128i b = _mm_unpacklo_epi8(loadPixel<BW>(p + i), zero);
            const __m128i x = _mm_unpacklo_epi8(loadPixel<BW>(s + i), zero);
            __m128i pa = _mm_sub_epi16(b, c);
            __m128i pb = _mm_sub_epi16(a, c);
            __m128i pc = _mm_add_epi16(pa, pb);
            pa = _mm_max_epi16(pa, _mm_sub_epi16(zero, pa));
            pb = _mm_max_epi16(pb, _mm_sub_epi16(zero, pb));
            pc = _mm_max_epi16(pc, _mm_sub_epi16(zero, pc));
            const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
            const __m128i useC = _mm_cmpgt_epi16(pb, pc);
            const __m128i bOrC = _mm_or_si128(_mm_and_si128(useC, c), _mm_andnot_si128(useC, b));
            const __m128i prediction = _mm_or_si128(_mm_and_si128(notA, bOrC), _mm_andnot_si128(notA, a));
            a = _mm_and_si128(_mm_add_epi16(x, prediction), lowByte);
            storePixel<BW>(r + i, _mm_packus_epi16(a, a));
            c = b;
        }
        break;
    }
    }
}
#endif

template <size_t BW>
void unfilterRow(uint8_t* r, const uint8_t* s, const uint8_t* p, uint8_t type, size_t length)
{
#ifdef ZEMBLAR_PNG_SSE2
    if constexpr (BW > 1) return unfilterRowSse2<BW>(r, s, p, type, length);
    if (type == 2) return upSse2(r, s, p, length);
#endif
    unfilterRowScalar(r, s, p, BW, type, length);
}

} // namespace

uint8_t paethPredictor(int left, int up, int upLeft)
{
    // p = left + up - upLeft; the distances |p - left|, |p - up|, |p - upLeft|.
    const int dLeft = std::abs(up - upLeft);
    const int dUp = std::abs(left - upLeft);
    const int dUpLeft = std::abs(left + up - 2 * upLeft);
    const int upOrUpLeft = dUp <= dUpLeft ? up : upLeft;
    return uint8_t(((dLeft <= dUp) & (dLeft <= dUpLeft)) ? left : upOrUpLeft);
}

int unfilterScanline(uint8_t* recon, const uint8_t* scanline, const uint8_t* prior, size_t byteWidth,
                     uint8_t filterType, size_t length)
{
    if (filterType > 4) return PngBadFilterType;
    if (length == 0) return 0; // empty rows of zero-width images: nothing to copy
    if (filterType == 0 || (filterType == 2 && !prior)) {
        if (recon != scanline) std::memmove(recon, scanline, length);
        return 0;
    }
    if (!prior) {
        // The first row: Paeth's predictor always picks the left byte, Avg halves it.
        if (filterType == 3)
            averageFirstRow(recon, scanline, byteWidth, length);
        else
            subScalar(recon, scanline, byteWidth, length);
        return 0;
    }
    switch (byteWidth) {
    case 1: unfilterRow<1>(recon, scanline, prior, filterType, length); break;
    case 2: unfilterRow<2>(recon, scanline, prior, filterType, length); break;
    case 3: unfilterRow<3>(recon, scanline, prior, filterType, length); break;
    case 4: unfilterRow<4>(recon, scanline, prior, filterType, length); break;
    case 6: unfilterRow<6>(recon, scanline, prior, filterType, length); break;
    case 8: unfilterRow<8>(recon, scanline, prior, filterType, length); break;
    default: unfilterRowScalar(recon, scanline, prior, byteWidth, filterType, length); break;
    }
    return 0;
}

uint64_t pngRowBytes(uint64_t width, uint32_t bpp)
{
    return (width * bpp + 7) / 8;
}

const Adam7Pass kAdam7Passes[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                   {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

uint32_t adam7Extent(uint32_t size, uint32_t first, uint32_t step)
{
    return size > first ? uint32_t((uint64_t(size) - first + step - 1) / step) : 0;
}

uint64_t pngFilteredBytes(uint32_t width, uint32_t height, uint32_t bpp, bool interlaced)
{
    if (!interlaced) return uint64_t(height) * (1 + pngRowBytes(width, bpp));
    uint64_t total = 0;
    for (const Adam7Pass& pass : kAdam7Passes) {
        const uint32_t passWidth = adam7Extent(width, pass.firstColumn, pass.columnStep);
        const uint32_t passHeight = adam7Extent(height, pass.firstRow, pass.rowStep);
        if (passWidth == 0) continue;
        total += uint64_t(passHeight) * (1 + pngRowBytes(passWidth, bpp));
    }
    return total;
}
