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

// Key codes: characters 0 .. 255 and GLUT's special keys share one code
// space. Ctrl with a letter sends the letter's control character.
constexpr int controlKey(char letter)
{
    return letter & 0x1f;
}
inline constexpr int keyCtrlB = controlKey('B'); // 2: default zoom
inline constexpr int keyCtrlN = controlKey('N'); // 14: full resolution
inline constexpr int keyCtrlR = controlKey('R'); // 18: default range
inline constexpr int keyCtrlS = controlKey('S'); // 19: default brightness
inline constexpr int keyCtrlX = controlKey('X'); // 24: default speed
inline constexpr int keyEscape = 27;
// The arrow keys (GLUT_KEY_LEFT .. GLUT_KEY_DOWN): the same codes as d, e, f, g.
inline constexpr int keyLeft = 100;
inline constexpr int keyUp = 101;
inline constexpr int keyRight = 102;
inline constexpr int keyDown = 103;
// The first and the last of freeglut's special keys for Num Lock, Begin,
// Delete and the modifier keys themselves (GLUT_KEY_NUM_LOCK .. GLUT_KEY_SUPER_R).
inline constexpr int keyNumLock = 109;
inline constexpr int keySuperRight = 119;

// Whether a special key is one of keyNumLock .. keySuperRight: in the shared
// code space they would act as the letters m .. w, so they are dropped.
bool isIgnoredSpecialKey(int key);

// Acts on one key code. Returns true for the quit keys, after the view state
// is saved: the caller then ends the process. The grid is relit when the
// light changes.
bool applyKey(ViewState& view, ElevationGrid& grid, int code, bool shifted);

// The key that menu entry value stands for; -1 for a value that is no entry.
int menuKeyCode(int value);

// The key that saves a picture of the window (the window layer's; menu entry 10).
inline constexpr int keyPicture = 'p';

// Mouse buttons and states (the values GLUT uses).
constexpr int leftButton = 0;
constexpr int buttonDown = 0;

// A button press or release at (x, y): starts or ends a drag.
void pressMouse(ViewState& view, int button, int state, bool shifted, int x, int y);

// The mouse wheel's buttons (freeglut's): away from the user, towards.
constexpr int wheelAway = 3;
constexpr int wheelTowards = 4;

// A wheel event: a turn away steps forward and one towards steps back, as z
// and Shift+z. Returns true for the wheel's buttons (the caller then posts a
// redisplay); their release does nothing else and leaves any drag alone.
bool turnWheel(ViewState& view, ElevationGrid& grid, int button, int state);

// Pointer motion with a button held. Returns true when the event was taken
// (the caller then posts a redisplay).
bool dragPointer(ViewState& view, ElevationGrid& grid, int x, int y);

// How a change of the light reaches the grid: relit at once, unless the
// window asks to relight once before its next frame instead (then a burst of
// such changes costs one pass over the grid).
using RelightRequest = void (*)(ElevationGrid& grid, const ViewState& view);
void setRelightRequest(RelightRequest request); // null: at once

// The zoom keys never open the field of view beyond this: at 180 degrees the
// perspective collapses the scene into a point.
constexpr double widestFieldOfView = 179;

} // namespace orvex
