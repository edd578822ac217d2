#pragma once
// Files the front-end writes are never left half-written: the bytes go to a
// file beside the target, which then replaces it in one rename. Where the new
// file cannot be written completely (a full disk), the old one stays as it
// was and the user is told.

#include <QByteArray>
#include <QString>
#include <initializer_list>

namespace skyloom {

// A file saved, or why it was not.
struct SaveResult {
    QString fileName;
    bool saved = false;
    QString error; // what went wrong, as the system puts it
    explicit operator bool() const { return saved; }
};

// Every write and the flush are checked; where any step fails the file beside
// is dropped and the old file stays as it was.
SaveResult writeFileBesideAndRename(const QString& path, const QByteArray& bytes);

// One message naming each file that could not be saved and why; none where
// every file was saved.
void tellSaveFailures(std::initializer_list<SaveResult> results);

} // namespace skyloom
