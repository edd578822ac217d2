#pragma once
// The viewer's one window: display mode, size, fixed GL state, the pop-up
// menu, the projection and the callbacks.

namespace orvex {

// Opens the window and runs the event loop; never returns.
[[noreturn]] void openViewerWindow(int* argc, char** argv);

// Everything openViewerWindow does before it enters the event loop (tests and
// benchmarks drive the loop themselves).
void prepareViewerWindow(int* argc, char** argv);

// The pop-up menu on the right button, entries 0 .. 10.
void createViewerMenu();

struct ViewState;

// Perspective of fovy degrees at the window's aspect; the clipping planes
// scale with the scene.
void applyProjection(const ViewState& view);

// The reshape callback (on the process-wide view state).
void onReshape(int width, int height);

} // namespace orvex
