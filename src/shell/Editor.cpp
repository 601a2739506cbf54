#include "shell/Editor.h"
#include <cstdio>

int runEditor(double)
{
    std::fprintf(stderr, "zemblar: --edit is not available yet\n");
    return 2;
}
