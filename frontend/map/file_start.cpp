#include "map/file_start.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

std::optional<FileStart> readFileStart(const QString& path, qint64 limit)
{
    if (QFileInfo(path).isDir())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    constexpr qint64 piece = 64 * 1024;
    FileStart start;
    while (start.bytes.size() < limit) {
        const QByteArray more = file.read(std::min(piece, limit - start.bytes.size()));
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        if (more.isEmpty()) {
            start.complete = true;
            return start;
        }
        start.bytes += more;
    }
    start.complete = file.atEnd() || file.read(1).isEmpty();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return start;
}
