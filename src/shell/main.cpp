// Process entry: the whole demo runs in runZemblar(). The demo takes no command-line arguments.
#include "shell/Shell.h"

int main(int, char**)
{
    return runZemblar();
}
