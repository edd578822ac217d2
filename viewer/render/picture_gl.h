#pragma once
// A picture of the window as a PNG file in the working directory.

#include <optional>
#include <string>

namespace orvex {

// Draws the frame in full detail into the back buffer and writes exactly its
// pixels, at the window's size, as "orvex-YYYYMMDD-HHMMSS.png"; prints
// "Saved %s" and returns the name, or prints why not and returns nothing.
std::optional<std::string> savePicture();

} // namespace orvex
