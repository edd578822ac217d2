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

// "orvex", the option of the mesh, its data directory as one word (blanks
// and all), the code of the north-west sheet, the rows north to south and the
// columns west to east. The range must be chosen (Selection::range).
QStringList viewerCommandLine(const MapState& state);

// The exit status of a viewer that ended on a fatal error, after a "*** "
// line on standard error.
inline constexpr int kViewerFatalStatus = 1;

// The message of a viewer that ended on a fatal error, from what it wrote to
// standard error: its last "*** " line, else a text of our own.
QString viewerFailureText(const QByteArray& standardError);

// The text of a viewer that was ended by a signal.
QString viewerCrashText();

// The text when the program file exists but does not start.
QString viewerStartFailureText(const QString& reason);

} // namespace skyloom
