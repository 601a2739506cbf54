// The command line as a table: each accepted argument list with the mode, time and script (or
// folder) it gives, then the refusals, one per branch of the parser.
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>
#include "shell/Options.h"

TEST(Options, ModesTimesScriptsAndRefusals)
{
    using M = Options::Mode;
    const std::tuple<std::vector<const char*>, M, double, const char*> accepted[] = {
        {{}, M::Play, 0, ""},
        {{"--edit"}, M::Edit, 0, ""},
        {{"--edit", "--at", "12.5"}, M::Edit, 12.5, ""},
        {{"--edit", "--at", "0"}, M::Edit, 0, ""},
        {{"--check"}, M::Check, 0, ""},
        {{"--check", "my.txt"}, M::Check, 0, "my.txt"},
        {{"--new", "mine"}, M::New, 0, "mine"}};
    const std::vector<const char*> refused[] = {{"--at", "3"},
                                                {"--edit", "--at"},
                                                {"--edit", "--at", "-1"},
                                                {"--edit", "--at", "3x"},
                                                {"--edit", "--at", "nan"},
                                                {"--edit", "--at", ""},
                                                {"--edit", "--fast"},
                                                {"--check", "a", "b"},
                                                {"--check", "--edit"},
                                                {"--new"},
                                                {"--new", "a", "b"},
                                                {"--new", "--edit"}};
    auto parse = [](std::vector<const char*> args, Options& o, std::string& error) {
        args.insert(args.begin(), "zemblar");
        return parseOptions(static_cast<int>(args.size()), args.data(), o, error);
    };
    for (const auto& [args, mode, at, script] : accepted) {
        Options o;
        std::string error;
        EXPECT_TRUE(parse(args, o, error)) << error;
        EXPECT_EQ(std::make_tuple(o.mode, o.at, o.script + o.dir), std::make_tuple(mode, at, std::string(script)));
    }
    for (const auto& args : refused) {
        Options o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error) || error.empty()) << args.back();
    }
}
