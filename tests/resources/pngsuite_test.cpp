// The PNG conformance suite (shared/testdata/pngsuite beside the repository)
// against the committed table tests/resources/pngsuite_reference.txt: size and
// FNV-1a 64 of the RGBA pixels, or the error code. Run with
// ZEMBLAR_WRITE_PNG_REFERENCE=1 to rewrite the table from the current decoder
// (then review the diff and cross-check it with tools/crosscheck_pngsuite.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "PngWriter.h"
#include "resources/Png.h"

namespace fs = std::filesystem;

namespace {

// The suite lies in shared/ beside the repository; ZEMBLAR_PNGSUITE overrides,
// and a worktree one level deeper (wt/NAME) finds it two levels up.
fs::path findSuite()
{
    if (const char* dir = std::getenv("ZEMBLAR_PNGSUITE")) return dir;
    const fs::path relative = fs::path("shared") / "testdata" / "pngsuite";
    const fs::path root(ZEMBLAR_SOURCE_DIR);
    if (fs::is_directory(root / ".." / relative)) return root / ".." / relative;
    return root / ".." / ".." / relative;
}

const fs::path kSuite = findSuite();
const fs::path kReference = fs::path(ZEMBLAR_SOURCE_DIR) / "tests" / "resources" / "pngsuite_reference.txt";

struct Result {
    int error = 0;
    std::vector<uint8_t> pixels;
    uint32_t width = 0, height = 0;
};

Result decodeFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Result r;
    r.error = decodePng(bytes.data(), bytes.size(), r.pixels, r.width, r.height);
    return r;
}

std::string describe(const Result& r)
{
    std::ostringstream line;
    if (r.error) {
        line << "error " << r.error;
    } else {
        line << r.width << " " << r.height << " " << std::hex << pngtest::fnv1a(r.pixels);
    }
    return line.str();
}

std::vector<fs::path> suiteFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kSuite))
        if (entry.path().extension() == ".png") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST(PngSuite, MatchesTheReferenceTable)
{
    if (!fs::is_directory(kSuite)) GTEST_SKIP() << "no suite at " << kSuite;
    std::map<std::string, std::string> actual;
    for (const fs::path& file : suiteFiles()) actual[file.stem().string()] = describe(decodeFile(file));

    if (const char* write = std::getenv("ZEMBLAR_WRITE_PNG_REFERENCE"); write && *write == '1') {
        std::ofstream out(kReference);
        out << "# name width height fnv1a64-of-RGBA  |  name error CODE\n";
        for (const auto& [name, line] : actual) out << name << " " << line << "\n";
        GTEST_SKIP() << "rewrote " << kReference;
    }

    std::ifstream in(kReference);
    ASSERT_TRUE(in) << kReference;
    std::map<std::string, std::string> expected;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const size_t space = line.find(' ');
        expected[line.substr(0, space)] = line.substr(space + 1);
    }
    EXPECT_EQ(expected.size(), actual.size());
    for (const auto& [name, line] : actual) EXPECT_EQ(line, expected[name]) << name;
}

TEST(PngSuite, InterlacedImagesMatchTheirNonInterlacedTwins)
{
    if (!fs::is_directory(kSuite)) GTEST_SKIP() << "no suite at " << kSuite;
    int pairs = 0;
    for (const fs::path& file : suiteFiles()) {
        std::string name = file.stem().string();
        const bool basic = name.rfind("basi", 0) == 0;
        const bool sized = name.size() == 8 && name[0] == 's' && name[3] == 'i';
        if (!basic && !sized) continue;
        name[3] = 'n';
        const fs::path twin = file.parent_path() / (name + ".png");
        if (!fs::exists(twin)) continue;
        const Result a = decodeFile(file);
        const Result b = decodeFile(twin);
        ASSERT_EQ(a.error, 0) << file;
        EXPECT_EQ(a.width, b.width) << file;
        EXPECT_EQ(a.pixels, b.pixels) << file;
        ++pairs;
    }
    EXPECT_GE(pairs, 30);
}
