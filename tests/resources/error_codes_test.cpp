// The README's table of decoder error codes lists exactly the codes the decoders have.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "resources/DecodeErrors.h"

TEST(DecodeErrors, TheReadmeTableListsExactlyTheNamedCodes)
{
    std::ifstream readme(ZEMBLAR_SOURCE_DIR "/README.md");
    ASSERT_TRUE(readme.is_open());
    std::set<int> documented;
    bool inTable = false;
    const std::regex number("\\d+");
    // The rows from the header to the first blank line; the header's cells hold no digits.
    for (std::string line; std::getline(readme, line) && !(inTable && line.empty());) {
        inTable = inTable || line.rfind("| Code | Meaning |", 0) == 0;
        if (!inTable || line.rfind("| ", 0) != 0) continue;
        const std::string codes = line.substr(2, line.find(" |", 1) - 2);
        for (std::sregex_iterator i(codes.begin(), codes.end(), number), end; i != end; ++i)
            EXPECT_TRUE(documented.insert(std::stoi(i->str())).second) << "listed twice: " << i->str();
    }
    const std::set<int> named(std::begin(kDecodeErrors), std::end(kDecodeErrors));
    EXPECT_EQ(named.size(), std::size(kDecodeErrors)) << "two names share a code";
    EXPECT_EQ(documented, named);
}
