// The PNG conformance suite (tests/resources/pngsuite) against the table pngsuite_reference.txt beside
// it: size and FNV-1a 64 of the RGBA pixels, or the error code; a file only one of them has fails.
// ZEMBLAR_WRITE_PNG_REFERENCE=1 rewrites the table from the current decoder (then review the diff
// and cross-check it with tools/crosscheck_pngsuite.py).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "resources/FileBytes.h"
#include "resources/Png.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

// FNV-1a 64 of the decoded pixels, the hash of the table.
uint64_t fnv1a(const Bytes& data)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (uint8_t byte : data) h = (h ^ byte) * 0x100000001b3ull;
    return h;
}

// "WIDTH HEIGHT HASH" or "error CODE", as in the table.
std::string describe(const fs::path& path)
{
    Bytes bytes, pixels;
    EXPECT_TRUE(readWholeFile(path.string(), bytes)) << path;
    uint32_t width = 0, height = 0;
    std::ostringstream line;
    if (const int error = decodePng(bytes.data(), bytes.size(), pixels, width, height))
        line << "error " << error;
    else
        line << width << " " << height << " " << std::hex << fnv1a(pixels);
    return line.str();
}

} // namespace

TEST(PngSuite, MatchesTheReferenceTable)
{
    const fs::path here = fs::path(ZEMBLAR_SOURCE_DIR) / "tests" / "resources";
    const fs::path suite = here / "pngsuite", reference = here / "pngsuite_reference.txt";
    std::map<std::string, std::string> actual;
    for (const auto& entry : fs::directory_iterator(suite))
        if (entry.path().extension() == ".png") actual[entry.path().stem().string()] = describe(entry.path());

    if (const char* write = std::getenv("ZEMBLAR_WRITE_PNG_REFERENCE"); write && *write == '1') {
        std::ofstream out(reference);
        out << "# name width height fnv1a64-of-RGBA  |  name error CODE\n";
        for (const auto& [name, line] : actual) out << name << " " << line << "\n";
        GTEST_SKIP() << "rewrote " << reference;
    }

    std::ifstream in(reference);
    ASSERT_TRUE(in) << reference;
    std::map<std::string, std::string> expected;
    for (std::string line; std::getline(in, line);) {
        const size_t space = line.find(' ');
        if (!line.empty() && line[0] != '#') expected[line.substr(0, space)] = line.substr(space + 1);
    }
    for (const auto& [name, line] : expected) EXPECT_EQ(actual[name], line) << name << ".png";
    for (const auto& [name, line] : actual) EXPECT_TRUE(expected.count(name)) << name << ".png not in the table";
}
