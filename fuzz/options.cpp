// Fuzz target: the command-line parser on an argument list made of the input's NUL-separated words.
// Any verdict is fine; crashes and sanitizer reports are not, nor an accepted SECONDS below 0.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/Options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> words{"zemblar"};
    std::string word;
    for (size_t i = 0; i < size && words.size() < 16; ++i) {
        if (data[i] == 0)
            words.push_back(word), word.clear();
        else
            word += static_cast<char>(data[i]);
    }
    words.push_back(word);
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    Options options;
    std::string error;
    if (parseOptions(static_cast<int>(argv.size()), argv.data(), options, error) && !(options.at >= 0.0))
        __builtin_trap();
    return 0;
}
