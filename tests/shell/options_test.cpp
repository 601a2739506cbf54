// The command line as a table: each row an argument list and the mode, time and script it gives,
// or a refusal.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "shell/Options.h"

TEST(Options, ModesTimesScriptsAndRefusals)
{
    using M = Options::Mode;
    const struct { std::vector<const char*> args; bool ok; M mode; double at; const char* script; } cases[] = {
        {{}, true, M::Play, 0, ""},
        {{"--edit"}, true, M::Edit, 0, ""},
        {{"--edit", "--at", "12.5"}, true, M::Edit, 12.5, ""},
        {{"--edit", "--at", "0"}, true, M::Edit, 0, ""},
        {{"--check"}, true, M::Check, 0, ""},
        {{"--check", "my.txt"}, true, M::Check, 0, "my.txt"},
        {{"--at", "3"}, false, M::Play, 0, ""},
        {{"--edit", "--at"}, false, M::Play, 0, ""},
        {{"--edit", "--at", "-1"}, false, M::Play, 0, ""},
        {{"--edit", "--at", "3x"}, false, M::Play, 0, ""},
        {{"--edit", "--at", "nan"}, false, M::Play, 0, ""},
        {{"--edit", "--at", "1e999"}, false, M::Play, 0, ""},
        {{"--edit", "--at", ""}, false, M::Play, 0, ""},
        {{"--edit", "--fast"}, false, M::Play, 0, ""},
        {{"--check", "a", "b"}, false, M::Play, 0, ""},
        {{"--check", "--edit"}, false, M::Play, 0, ""},
        {{"--help"}, false, M::Play, 0, ""},
        {{"play"}, false, M::Play, 0, ""},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"zemblar"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Options o;
        std::string error;
        const bool ok = parseOptions(static_cast<int>(argv.size()), argv.data(), o, error);
        SCOPED_TRACE(c.args.empty() ? "(none)" : std::string(c.args[0]) + " ... " + c.args.back());
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(error.empty(), c.ok);
        if (!ok) continue;
        EXPECT_EQ(o.mode, c.mode);
        EXPECT_EQ(o.at, c.at);
        EXPECT_EQ(o.script, c.script);
    }
}
