#pragma once
// Reading the front-end's small files without trusting their size.

#include <QByteArray>
#include <QString>
#include <optional>

namespace skyloom {

struct FileStart {
    QByteArray bytes;      // the first bytes of the file, at most the limit
    bool complete = false; // the file ended within the limit
};

// Reads `path` in pieces up to `limit` bytes, so that memory follows what the
// file holds and never the limit. Nothing when it does not open (a directory
// does not) or a read fails.
std::optional<FileStart> readFileStart(const QString& path, qint64 limit);

} // namespace skyloom
