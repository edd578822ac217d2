#pragma once
// Moving and resting: every change of the view makes the window's frames
// moving ones (level of detail); once the view has not changed for
// restMilliseconds a timer marks it at rest and posts one full-detail frame.
// Input never queues up behind frames: each event changes the view state at
// once and only posts a redisplay, which GLUT draws once after all the events
// that are waiting.

namespace orvex {

inline constexpr int restMilliseconds = 200;

// Called by the input callbacks after each change of the view.
void noteViewChange();

bool viewAtRest();

// Merges input between frames: a key press, a button or a drag waiting in
// the window's queue cuts a full-detail frame short
// (FrameDrawer::setInterruption), and changes of the light relight the grid
// once, before the next frame.
void mergeInputBetweenFrames();

// Called by the display callback before it draws.
void relightIfLightChanged();

} // namespace orvex
