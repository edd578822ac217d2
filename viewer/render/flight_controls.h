#pragma once
// The flight controls as plain logic on a view state and the grid it shows:
// the key table, the menu, the fly drag and the sun drag. The window layer
// feeds them from its callbacks and posts the redisplays.

namespace orvex {

struct ElevationGrid;
struct ViewState;

// Modifier bits as the window system reports them (the values GLUT uses).
constexpr int modifierShift = 1;
constexpr int modifierCtrl = 2;
constexpr int modifierAlt = 4;

// Shift alone. Other bits (freeglut reports Num Lock as Super) do not count;
// Shift with Ctrl or Alt is not shifted.
bool isShifted(int modifiers);

// freeglut sends special-key codes 109 .. 119 for Num Lock, Begin, Delete and
// the modifier keys themselves; in the shared code space they would act as
// the letters m .. w, so they are dropped.
bool isIgnoredSpecialKey(int key);

// Acts on one key code (characters 0 .. 255 and special keys share one code
// space). Returns true for the quit keys, after the view state is saved: the
// caller then ends the process. The grid is relit when the light changes.
bool applyKey(ViewState& view, ElevationGrid& grid, int code, bool shifted);

// The key that menu entry value stands for; -1 for a value that is no entry.
int menuKeyCode(int value);

// Mouse buttons and states (the values GLUT uses).
constexpr int leftButton = 0;
constexpr int buttonDown = 0;

// A button press or release at (x, y): starts or ends a drag.
void pressMouse(ViewState& view, int button, int state, bool shifted, int x, int y);

// Pointer motion with a button held. Returns true when the event was taken
// (the caller then posts a redisplay).
bool dragPointer(ViewState& view, ElevationGrid& grid, int x, int y);

// The zoom keys never open the field of view beyond this: at 180 degrees the
// perspective collapses the scene into a point.
constexpr double widestFieldOfView = 179;

} // namespace orvex
