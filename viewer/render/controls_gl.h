#pragma once
// The GLUT input callbacks of the viewer; the logic is in flight_controls.h.

namespace orvex {

void onKeyboard(unsigned char key, int x, int y);
// Character codes and special-key codes in one code space.
void onKey(int code, int x, int y);
// The special-key callback: drops freeglut's modifier-key codes, passes the rest to onKey.
void onSpecialKey(int key, int x, int y);
void onMouse(int button, int state, int x, int y);
void onMotion(int x, int y);
void onMenu(int value);

} // namespace orvex
