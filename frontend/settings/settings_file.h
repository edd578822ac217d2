#pragma once
// skyloom.env: the front-end's version, window geometry, mesh, data
// directories and map origin, five CR LF lines in the working directory.

#include "core/saved_file.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <optional>

struct MapState;

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 0;

inline const char kSettingsFileName[] = "skyloom.env";
// skyloom.env and orvex.col need a few hundred bytes; nothing past this much
// of either is read.
inline constexpr qint64 kLongestSettingsFile = 64 * 1024;
// Window positions and sizes beyond this many twips would ask the window
// system for more than it can give.
inline constexpr int kMostTwips = 32767 * 15;

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
