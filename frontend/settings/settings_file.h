#pragma once
// skyloom.env: the front-end's version, window geometry, mesh, data
// directories and map origin, five CR LF lines in the working directory.

#include "core/saved_file.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <optional>

namespace skyloom {

struct MapState;

// The version line, the colour file's name and the longest file read are
// those of common/shared_files.h, which the viewer shares.
inline const char kSettingsFileName[] = "skyloom.env";

// Window geometry is kept in twips, 15 to a logical pixel.
inline constexpr int kTwipsPerPixel = 15;
// Window positions and sizes beyond the window system's largest coordinate
// would ask it for more than it can give.
inline constexpr int kLargestWindowCoordinate = 32767;
inline constexpr int kMostTwips = kLargestWindowCoordinate * kTwipsPerPixel;

// The file's five lines for these settings and this window geometry (left,
// top, width, height in twips).
QByteArray settingsFileText(const MapState& state, const QRect& geometryTwips);

// Reads the file's fields over the settings, each as soon as it has been
// read, and stops at the first bad one. Another version changes nothing. The
// geometry comes back once all four of its numbers have been read.
std::optional<QRect> readSettingsText(const QByteArray& text, MapState& state);

// Defaults, then the file in the working directory, if there is one.
std::optional<QRect> ReadEnv(MapState& state);

// Writes the file beside and renames it over the old one; where that fails
// the old file stays as it was.
SaveResult WriteEnv(const MapState& state, const QRect& geometryTwips);

} // namespace skyloom
