// orvex: load one area, read the colours and the summits, fly over it.
#include <cstdio>
#include <cstring>

#include "app/command_line.h"
#include "app/init_view.h"
#include "app/load_request.h"
#include "app/viewer_window_gl.h"
#include "data/colour_file.h"
#include "data/mountain_file.h"
#include "state/colour_table.h"
#include "state/mountain_table.h"
#include "state/view_state.h"

int main(int argc, char* argv[])
{
    // Each progress line shows as it is printed, into a file or a pipe too.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("orvex %s\n", orvex::versionText());
        return 0;
    }
    if (!orvex::loadFromCommandLine(argc, argv)) {
        std::fprintf(stderr, "%s%sorvex --version\n", orvex::usageText("orvex").c_str(), orvex::usageIndent);
        return 2;
    }
    orvex::readcolor();
    orvex::readmountain();
    orvex::initView();
    orvex::openViewerWindow(&argc, argv);
}
