// Whole-file reading through a stream opened at its end, so the size is known before the read.
#include "resources/FileBytes.h"
#include <filesystem>
#include <fstream>
#include <new>

bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, uint64_t maxBytes)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) return false;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > maxBytes) return false;
    try {
        out.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    in.seekg(0);
    in.read(reinterpret_cast<char*>(out.data()), size);
    out.resize(static_cast<size_t>(in.gcount()));
    return true;
}
