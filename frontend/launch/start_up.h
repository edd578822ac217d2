#pragma once
// What skyloom does before its window exists: the single-instance test and
// the working directory named on the command line.

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

namespace skyloom {

// The per-user lock file that marks a running instance.
QString instanceLockPath();

// Takes the instance lock at path; nothing if another live process holds
// it. A lock left by a crashed instance is taken over, however old it is;
// one held by a running instance never counts as stale.
std::unique_ptr<QLockFile> lockSingleInstance(const QString& path);

// The command-line text: the arguments after the program name joined by
// single blanks (empty when there are none).
QString commandLineText(const QStringList& arguments);

// Makes a non-empty command-line text the current directory. Where it names
// no existing directory the current one stays, standard error says so, and
// the result is false.
bool enterStartDirectory(const QString& text);

} // namespace skyloom
