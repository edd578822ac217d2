#include "render/view_rest_gl.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <chrono>

#include "render/flight_controls.h"
#include "render/frame_gl.h"
#include "render/terrain_mesh.h"
#include "state/grid.h"
#include "state/view_state.h"

namespace orvex {

namespace {

using Clock = std::chrono::steady_clock;

struct RestState {
    Clock::time_point lastChange;
    bool moving = false;
    bool timerArmed = false;
    ElevationGrid* staleGrid = nullptr; // to relight before the next frame
    const ViewState* light = nullptr;
};

RestState& restState()
{
    static RestState state;
    return state;
}

void armRestTimer(int milliseconds);

void onRestTimer(int)
{
    RestState& state = restState();
    state.timerArmed = false;
    if (!state.moving)
        return;
    const auto rested =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - state.lastChange).count();
    if (rested < restMilliseconds) {
        armRestTimer(static_cast<int>(restMilliseconds - rested));
        return;
    }
    state.moving = false;
    windowFrameDrawer().setMoving(false);
    glutPostRedisplay();
}

void armRestTimer(int milliseconds)
{
    restState().timerArmed = true;
    glutTimerFunc(static_cast<unsigned>(milliseconds), onRestTimer, 0);
}

// Looks through the queue and takes nothing out of it.
Bool noteInput(Display*, XEvent* event, XPointer found)
{
    const bool dragging =
        event->type == MotionNotify && (event->xmotion.state & (Button1Mask | Button2Mask | Button3Mask));
    if (event->type == KeyPress || event->type == ButtonPress || event->type == ButtonRelease || dragging)
        *reinterpret_cast<bool*>(found) = true;
    return False;
}

bool inputWaiting()
{
    Display* display = glXGetCurrentDisplay();
    if (!display)
        return false;
    bool found = false;
    XEvent event;
    XCheckIfEvent(display, &event, noteInput, reinterpret_cast<XPointer>(&found));
    return found;
}

// The window's own grid is relit before its next frame, any other at once.
void relightBeforeNextFrame(ElevationGrid& changed, const ViewState& light)
{
    if (&changed != &grid || &light != &view) {
        relight(changed, light);
        return;
    }
    restState().staleGrid = &changed;
    restState().light = &light;
}

} // namespace

void mergeInputBetweenFrames()
{
    windowFrameDrawer().setInterruption(inputWaiting);
    setRelightRequest(relightBeforeNextFrame);
}

void relightIfLightChanged()
{
    RestState& state = restState();
    if (state.staleGrid)
        relight(*state.staleGrid, *state.light);
    state.staleGrid = nullptr;
}

void noteViewChange()
{
    RestState& state = restState();
    state.lastChange = Clock::now();
    state.moving = true;
    windowFrameDrawer().setMoving(true);
    if (!state.timerArmed)
        armRestTimer(restMilliseconds);
}

bool viewAtRest()
{
    return !restState().moving;
}

} // namespace orvex
