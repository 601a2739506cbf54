// The command line as a table: each accepted argument list with the mode, start answer, time and
// script (or folder) it gives, then the refusals, one per branch of the parser.
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>
#include "shell/Options.h"

TEST(Options, ModesTimesScriptsAndRefusals)
{
    using M = Options::Mode;
    using S = Options::Start;
    const std::tuple<std::vector<const char*>, M, S, double, const char*> accepted[] = {
        {{}, M::Play, S::Ask, 0, ""},
        {{"--fullscreen"}, M::Play, S::Fullscreen, 0, ""},
        {{"--window"}, M::Play, S::Window, 0, ""},
        {{"--edit"}, M::Edit, S::Ask, 0, ""},
        {{"--edit", "--at", "12.5"}, M::Edit, S::Ask, 12.5, ""},
        {{"--edit", "--at", "0"}, M::Edit, S::Ask, 0, ""},
        {{"--check"}, M::Check, S::Ask, 0, ""},
        {{"--check", "my.txt"}, M::Check, S::Ask, 0, "my.txt"},
        {{"--new", "mine"}, M::New, S::Ask, 0, "mine"}};
    const std::vector<const char*> refused[] = {{"--at", "3"},
                                                {"--edit", "--at"},
                                                {"--edit", "--at", "-1"},
                                                {"--edit", "--at", "3x"},
                                                {"--edit", "--at", "nan"},
                                                {"--edit", "--at", ""},
                                                {"--edit", "--fast"},
                                                {"--check", "a", "b"},
                                                {"--window", "--fullscreen"},
                                                {"--edit", "--window"},
                                                {"--check", "--edit"},
                                                {"--new"},
                                                {"--new", "a", "b"},
                                                {"--new", "--edit"}};
    auto parse = [](std::vector<const char*> args, Options& o, std::string& error) {
        args.insert(args.begin(), "zemblar");
        return parseOptions(static_cast<int>(args.size()), args.data(), o, error);
    };
    for (const auto& [args, mode, start, at, script] : accepted) {
        Options o;
        std::string error;
        EXPECT_TRUE(parse(args, o, error)) << error;
        EXPECT_EQ(std::make_tuple(o.mode, o.start, o.at, o.script + o.dir),
                  std::make_tuple(mode, start, at, std::string(script)));
    }
    for (const auto& args : refused) {
        Options o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error) || error.empty()) << args.back();
    }
}
