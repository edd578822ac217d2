#pragma once
// The Help menu's fixed texts, as lists of lines.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace skyloom {

// How to get from the map to a drawing: 14 lines.
QStringList mapUsageLines();

// The viewer's keys and mouse: 31 lines.
QStringList viewerUsageLines();

// "Skyloom", "Ver.2.0", then the rights lines.
QStringList versionLines();

// Lines as a message box shows them.
QString joinedLines(const QStringList& lines);

// readme.txt in the working directory, for the desktop's default viewer.
QUrl readmeUrl();

// Shown when the desktop cannot open the readme.
QString readmeFailureText();

} // namespace skyloom
