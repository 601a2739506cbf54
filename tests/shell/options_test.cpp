// The command line as a table: each accepted argument list with the mode, time and script it gives,
// then the refusals, one per branch of the parser.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "shell/Options.h"

TEST(Options, ModesTimesScriptsAndRefusals)
{
    using M = Options::Mode;
    const struct {
        std::vector<const char*> args;
        M mode;
        double at;
        const char* script;
    } accepted[] = {{{}, M::Play, 0, ""},
                    {{"--edit"}, M::Edit, 0, ""},
                    {{"--edit", "--at", "12.5"}, M::Edit, 12.5, ""},
                    {{"--edit", "--at", "0"}, M::Edit, 0, ""},
                    {{"--check"}, M::Check, 0, ""},
                    {{"--check", "my.txt"}, M::Check, 0, "my.txt"}};
    const std::vector<const char*> refused[] = {{"--at", "3"},
                                                {"--edit", "--at"},
                                                {"--edit", "--at", "-1"},
                                                {"--edit", "--at", "3x"},
                                                {"--edit", "--at", "nan"},
                                                {"--edit", "--at", "1e999"},
                                                {"--edit", "--at", ""},
                                                {"--edit", "--fast"},
                                                {"--check", "a", "b"},
                                                {"--check", "--edit"},
                                                {"--help"}};
    auto parse = [](std::vector<const char*> args, Options& o, std::string& error) {
        args.insert(args.begin(), "zemblar");
        return parseOptions(static_cast<int>(args.size()), args.data(), o, error);
    };
    for (const auto& a : accepted) {
        Options o;
        std::string error;
        EXPECT_TRUE(parse(a.args, o, error)) << error;
        EXPECT_EQ(o.mode, a.mode);
        EXPECT_EQ(o.at, a.at);
        EXPECT_EQ(o.script, a.script);
    }
    for (const auto& args : refused) {
        Options o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << args.back();
        EXPECT_FALSE(error.empty()) << args.back();
    }
}
