#pragma once
// Pictures of the window, kept as PNG files.

#include <ctime>
#include <string>

namespace orvex {

// "orvex-YYYYMMDD-HHMMSS.png" for the local time `when`.
std::string pictureFileName(std::time_t when);

// Writes width x height RGB pixels, 3 bytes each with no padding, as a PNG
// file at `path`: beside it first, renamed into place when complete. Rows run
// from the bottom up when `bottomUp` (as OpenGL reads them), else from the
// top. On failure returns false with the reason in `error`; the file at
// `path` stays as it was.
bool writePictureFile(const std::string& path, int width, int height, const unsigned char* rgb, bool bottomUp,
                      std::string& error);

} // namespace orvex
