#include "render/position_title_gl.h"

#include <GL/freeglut.h>

#include <string>

#include "render/position_title.h"
#include "state/grid.h"
#include "state/view_state.h"

namespace orvex {

void showPositionInTitle()
{
    static std::string shown;
    std::string title = positionTitle(grid, view);
    if (title == shown)
        return;
    glutSetWindowTitle(title.c_str());
    shown = std::move(title);
}

} // namespace orvex
