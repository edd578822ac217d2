#pragma once
// What skyloom does before its window exists: Qt's messages and the
// character type set up, the single-instance test and the working directory
// named on the command line.

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

namespace skyloom {

// Qt warns on every start, as root without a desktop session, that
// XDG_RUNTIME_DIR is not set and what it uses instead. Installs a message
// handler that drops that one notice and passes every other message on to
// the handler before it. Call it before the QApplication exists.
void quietenRuntimeDirectoryNotice();

// Window titles reach X through the C library's character type, which Qt
// takes from the environment: in the C locale of a system without LANG a
// Japanese title would arrive as Latin-1 garbage. Switches the character
// type alone to UTF-8 where it is not (the user's language in UTF-8, else
// C.UTF-8), as Qt reads and writes local text as UTF-8 anyway; numbers and
// messages keep the user's locale. Call it after the QApplication exists and
// before any window. Whether the character type is UTF-8 now.
bool useUtf8CharacterType();

// The per-user lock file that marks a running instance: in XDG_RUNTIME_DIR,
// or in the temporary folder where that is not set.
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
