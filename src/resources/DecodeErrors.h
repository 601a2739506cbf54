// Error codes of the inflater (Zlib.h) and the PNG decoder (Png.h). The numbers are part of the
// demo's output ("Decode png failed: CODE") and of the README's table, so they never change; 0 is
// success. A PNG decode passes the inflater's codes through unchanged.
#pragma once

enum ZlibError : int {
    ZlibSymbolPastEnd = 10,         // symbol decoding ran more than the stream length past its start
    ZlibUnknownCode = 11,           // a code that no symbol has
    ZlibRepeatPastLengths = 13,     // repeat code 16 runs past the code lengths
    ZlibShortZerosPastLengths = 14, // repeat code 17 runs past the code lengths
    ZlibLongZerosPastLengths = 15,  // repeat code 18 runs past the code lengths
    ZlibBadDistanceSymbol = 18,     // distance symbol 30 or 31
    ZlibBadBlockType = 20,          // block type 3
    ZlibStoredLengthMismatch = 21,  // stored block LEN and NLEN disagree
    ZlibStoredPastEnd = 23,         // stored block data runs past the stream
    ZlibHeaderCheck = 24,           // header check value
    ZlibBadMethod = 25,             // method not 8 or window above 7
    ZlibPresetDictionary = 26,      // preset dictionary asked for
    ZlibDynamicHeaderAtEnd = 49,    // dynamic header at the very end of the stream
    ZlibRepeatBitsPastEnd = 50,     // repeat extra bits past the end
    ZlibExtraBitsPastEnd = 51,      // length/distance extra bits past the end
    ZlibBlockHeaderPastEnd = 52,    // block header or stored LEN past the end
    ZlibStreamTooShort = 53,        // stream shorter than 2 bytes
    ZlibBadCodeLengths = 55,        // code lengths need more tree nodes than exist
    ZlibReferenceBeforeStart = 56,  // a back-reference reaches before the first output byte
    ZlibRepeatWithoutPrevious = 57, // repeat code 16 with no previous length to repeat
    ZlibNoEndOfBlock = 64,          // end-of-block code missing
};

enum PngError : int {
    PngTooShort = 27,              // fewer than 29 bytes
    PngNoSignature = 28,           // no PNG signature
    PngFirstChunkNotIhdr = 29,     // bytes 12-15 are not IHDR
    PngChunkHeaderPastEnd = 30,    // a chunk header does not fit in the file (no IEND)
    PngBadColorType = 31,          // unknown colour type
    PngBadCompressionMethod = 32,  // compression method not 0
    PngBadFilterMethod = 33,       // filter method not 0
    PngBadInterlaceMethod = 34,    // interlace method above 1
    PngChunkPastEnd = 35,          // a chunk's data runs past the end of the file
    PngBadFilterType = 36,         // filter type above 4
    PngBadBitDepth = 37,           // bit depth not allowed for the colour type
    PngPaletteTooLong = 38,        // PLTE with more than 256 entries
    PngTransparencyTooLong = 39,   // palette tRNS longer than the palette
    PngGreyKeyLength = 40,         // grey tRNS length not 2
    PngRgbKeyLength = 41,          // RGB tRNS length not 6
    PngTransparencyWithAlpha = 42, // tRNS for a colour type with alpha
    PngPaletteIndex8 = 46,         // 8-bit palette index without an entry
    PngPaletteIndexPacked = 47,    // 1/2/4-bit palette index without an entry
    PngEmpty = 48,                 // no input bytes
    PngChunkTooLong = 63,          // chunk length above 2^31-1
    PngUnknownCriticalChunk = 69,  // unknown critical chunk (a second IHDR included)
    PngTooLarge = 70,              // width*height*4 above 256 MiB, or the scanline data above 512 MiB
    PngDataTooShort = 71,          // the decompressed data is shorter than the image needs
    PngPaletteLength = 72,         // PLTE length not a multiple of 3
};

// Every code above, for checks that walk them all (the README's table is tested against this).
constexpr int kDecodeErrors[] = {
    ZlibSymbolPastEnd,
    ZlibUnknownCode,
    ZlibRepeatPastLengths,
    ZlibShortZerosPastLengths,
    ZlibLongZerosPastLengths,
    ZlibBadDistanceSymbol,
    ZlibBadBlockType,
    ZlibStoredLengthMismatch,
    ZlibStoredPastEnd,
    ZlibHeaderCheck,
    ZlibBadMethod,
    ZlibPresetDictionary,
    ZlibDynamicHeaderAtEnd,
    ZlibRepeatBitsPastEnd,
    ZlibExtraBitsPastEnd,
    ZlibBlockHeaderPastEnd,
    ZlibStreamTooShort,
    ZlibBadCodeLengths,
    ZlibReferenceBeforeStart,
    ZlibRepeatWithoutPrevious,
    ZlibNoEndOfBlock,
    PngTooShort,
    PngNoSignature,
    PngFirstChunkNotIhdr,
    PngChunkHeaderPastEnd,
    PngBadColorType,
    PngBadCompressionMethod,
    PngBadFilterMethod,
    PngBadInterlaceMethod,
    PngChunkPastEnd,
    PngBadFilterType,
    PngBadBitDepth,
    PngPaletteTooLong,
    PngTransparencyTooLong,
    PngGreyKeyLength,
    PngRgbKeyLength,
    PngTransparencyWithAlpha,
    PngPaletteIndex8,
    PngPaletteIndexPacked,
    PngEmpty,
    PngChunkTooLong,
    PngUnknownCriticalChunk,
    PngTooLarge,
    PngDataTooShort,
    PngPaletteLength,
};
