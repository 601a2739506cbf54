// zemblar-render: renders the demo in data/ offline, frame by frame at a fixed rate, into PNG
// frames or an MP4 video with the music. See --help.
#include <cstdio>
#include <string>
#include "render/OfflineRender.h"
#include "render/RenderOptions.h"

int main(int argc, char** argv)
{
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(argc - 1, argv + 1, options, error)) {
        std::fprintf(stderr, "zemblar-render: %s\n(see zemblar-render --help)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(renderUsage(), stdout);
        return 0;
    }
    return runOfflineRender(options);
}
