#pragma once
// The command line that starts orvex on the chosen sheets, and what the
// user is told when a viewer ends on an error.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace skyloom {

struct MapState;

// The viewer's program file in the working directory, and its first word.
inline const char kViewerProgram[] = "orvex";

// The void filling of SRTM3 areas: line filling of short spans, then from
// SRTM30.
inline constexpr int kSrtmVoidFilling = 2;

// The command line for the chosen range (Selection::range), the data folder
// always one word (blanks and all):
// - 50 m, 250 m, 10 m, 5 m: "orvex", -gsi50 / -gsi250 / -fgd10 / -fgd5, the
//   folder, the code of the north-west sheet, the rows north to south and
//   the columns west to east;
// - SRTM: "orvex -srtm3 DIR N W S E 2 SRTM30DIR" with the block rows and
//   columns, or, for a folder of other rasters, "orvex -gdal DIR N W S E"
//   with the rectangle's edges in degrees.
QStringList viewerCommandLine(const MapState& state, bool rastersThroughGdal = false);

// The exit status of a viewer that ended on a fatal error, after a "*** "
// line on standard error.
inline constexpr int kViewerFatalStatus = 1;

// The message of a viewer that ended on a fatal error, from what it wrote to
// standard error: its last "*** " line, else a text of our own.
QString viewerFailureText(const QByteArray& standardError);

// The message of a viewer that ended on a fatal error, with where it looked:
// the text above, then the data folder (absolute) and the files it reported
// missing on standard output ("*** ... : PATH not found."), at most
// kMissingFilesShown of them and how many more.
inline constexpr int kMissingFilesShown = 8;
QString viewerFailureReport(const QByteArray& standardError, const QByteArray& standardOutput,
                            const QString& dataFolder);

// The last "Reading ..." line of what a viewer has written so far, or an
// empty text.
QString lastProgressLine(const QByteArray& standardOutput);

// The text of a viewer that was ended by a signal.
QString viewerCrashText();

// The text when the program file exists but does not start.
QString viewerStartFailureText(const QString& reason);

} // namespace skyloom
