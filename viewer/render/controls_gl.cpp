#include "render/controls_gl.h"

#include <GL/freeglut.h>

#include <cstdlib>

#include "render/flight_controls.h"
#include "render/picture_gl.h"
#include "render/position_title_gl.h"
#include "render/view_rest_gl.h"
#include "state/grid.h"
#include "state/view_state.h"

namespace orvex {

static_assert(modifierShift == GLUT_ACTIVE_SHIFT && modifierCtrl == GLUT_ACTIVE_CTRL &&
              modifierAlt == GLUT_ACTIVE_ALT);
static_assert(leftButton == GLUT_LEFT_BUTTON && buttonDown == GLUT_DOWN);
static_assert(keyLeft == GLUT_KEY_LEFT && keyUp == GLUT_KEY_UP && keyRight == GLUT_KEY_RIGHT &&
              keyDown == GLUT_KEY_DOWN);
static_assert(keyNumLock == GLUT_KEY_NUM_LOCK && keySuperRight == GLUT_KEY_SUPER_R);

namespace {

// After every change of the view: its position in the title, the moving
// frames until it rests, and one redisplay however many events come.
void viewChanged()
{
    showPositionInTitle();
    noteViewChange();
    glutPostRedisplay();
}

void act(int code, bool shifted)
{
    if (code == keyPicture || code == 'P') {
        savePicture();
        return;
    }
    if (applyKey(view, grid, code, shifted))
        std::exit(0);
    viewChanged();
}

} // namespace

void onKeyboard(unsigned char key, int x, int y)
{
    // X11 also gives the Esc character for Ctrl+[, Ctrl+{ and Ctrl+3: with
    // Ctrl held it is no quit key (nor is Ctrl+Esc, which looks the same here).
    if (key == 27 && (glutGetModifiers() & GLUT_ACTIVE_CTRL))
        return;
    onKey(key, x, y);
}

void onKey(int code, int, int)
{
    act(code, isShifted(glutGetModifiers()));
}

void onSpecialKey(int key, int x, int y)
{
    if (isIgnoredSpecialKey(key))
        return;
    onKey(key, x, y);
}

void onMouse(int button, int state, int x, int y)
{
    if (turnWheel(view, grid, button, state)) {
        viewChanged();
        return;
    }
    pressMouse(view, button, state, isShifted(glutGetModifiers()), x, y);
}

void onMotion(int x, int y)
{
    if (dragPointer(view, grid, x, y))
        viewChanged();
}

// Outside an input callback GLUT reports no modifiers (and warns when asked),
// so a menu entry always gives the unshifted action.
void onMenu(int value)
{
    const int code = menuKeyCode(value);
    if (code >= 0)
        act(code, false);
}

} // namespace orvex
