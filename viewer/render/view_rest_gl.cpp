#include "render/view_rest_gl.h"

#include <GL/freeglut.h>

#include <chrono>

#include "render/frame_gl.h"

namespace orvex {

namespace {

using Clock = std::chrono::steady_clock;

struct RestState {
    Clock::time_point lastChange;
    bool moving = false;
    bool timerArmed = false;
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

} // namespace

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
