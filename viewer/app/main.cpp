// orvex: load one area, read the colours and the summits, fly over it.
#include <cstdio>

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
    if (!orvex::loadFromCommandLine(argc, argv))
        return 0;
    orvex::readcolor();
    orvex::readmountain();
    orvex::initView();
    orvex::openViewerWindow(&argc, argv);
}
