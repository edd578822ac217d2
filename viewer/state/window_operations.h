#pragma once
// The few places where plain logic must reach the window: setting the camera
// and the projection. The window layer installs its own operations when it
// opens the window; until then (and in unit tests) they do nothing.

namespace orvex {

struct WindowOperations {
    void (*applyCamera)();
    void (*applyProjection)();
};

extern WindowOperations windowOperations;

} // namespace orvex
