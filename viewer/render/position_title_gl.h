#pragma once
// The window's title tells where the eye is (render/position_title.h).

namespace orvex {

// Sets the current window's title from the process-wide grid and view state,
// when the text changed.
void showPositionInTitle();

} // namespace orvex
