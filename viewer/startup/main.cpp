// orvex: load one area, read the colours and the summits, fly over it.
#include "data/colour_table.h"
#include "data/mountain_table.h"
#include "startup/command_line.h"
#include "startup/view_state.h"
#include "startup/viewer_window_gl.h"

int main(int argc, char* argv[])
{
    if (!loadFromCommandLine(argc, argv))
        return 0;
    readcolor();
    readmountain();
    initView();
    openViewerWindow(&argc, argv);
}
