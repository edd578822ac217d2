#pragma once
// What the viewer and skyloom agree on about the files they share in the
// working directory: skyloom writes "orvex.col" for the viewer to read, and
// both programs' text files open with the same version line.

#include <cstddef>

namespace common {

// "2 0": the first line of "orvex.col", "orvex.env" and "skyloom.env"; a file
// whose head differs is another program's and is ignored.
inline constexpr int fileVersionMajor = 2;
inline constexpr int fileVersionMinor = 0;

inline constexpr char colourFileName[] = "orvex.col";
inline constexpr char viewStateFileName[] = "orvex.env";

// Most entries "orvex.col" may hold; the viewer ends with "*** readcolor-2."
// on a larger count. skyloom writes nine: seven bands, the sea, the background.
inline constexpr int colourFileCapacity = 20;

// The small text files (the colours and both settings files) need a few
// hundred bytes; a larger one is not ours and is not read.
inline constexpr std::size_t longestSettingsFile = 64 * 1024;

} // namespace common
