#include "core/file_start.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace skyloom {

std::optional<FileStart> readFileStart(const QString& path, qint64 limit)
{
    if (QFileInfo(path).isDir())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    constexpr qint64 piece = 64 * 1024;
    FileStart start;
    // A regular file's size gives the room at once; others grow as they read.
    if (file.size() > 0)
        start.bytes.reserve(std::min(file.size(), limit));
    for (;;) {
        const qsizetype used = start.bytes.size();
        if (used >= limit)
            break;
        const qint64 wanted = std::min(piece, limit - used);
        start.bytes.resize(used + wanted);
        const qint64 got = file.read(start.bytes.data() + used, wanted);
        if (got < 0)
            return std::nullopt;
        start.bytes.resize(used + got);
        if (got == 0) {
            start.complete = true;
            return start;
        }
    }
    char next = 0;
    const qint64 more = file.read(&next, 1);
    if (more < 0)
        return std::nullopt;
    start.complete = more == 0;
    return start;
}

} // namespace skyloom
