#pragma once
// The few places where plain logic must reach the window: setting the camera
// and the projection from a view state. The window layer installs its own
// operations when it opens the window; until then (and in unit tests) they
// do nothing.

namespace orvex {

struct ViewState;

struct WindowOperations {
    void (*applyCamera)(const ViewState& view);
    void (*applyProjection)(const ViewState& view);
};

extern WindowOperations windowOperations;

} // namespace orvex
