// Decode with the one failure message the demo and its tools share.
#include "resources/PngReport.h"

#include "resources/Messages.h"
#include "resources/Png.h"

bool decodePngReported(const std::vector<uint8_t>& file, std::vector<uint8_t>& pixels, uint32_t& width,
                       uint32_t& height)
{
    const int error = decodePng(file.data(), file.size(), pixels, width, height);
    if (error == 0) return true;
    printMessage("Decode png failed: %d\n", error);
    flushMessages();
    return false;
}
