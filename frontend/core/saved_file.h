#pragma once
// Files the front-end writes are never left half-written: the bytes go to a
// file beside the target, which then replaces it in one rename.

#include <QByteArray>
#include <QString>

namespace skyloom {

// False where any step fails; the old file then stays as it was.
bool writeFileBesideAndRename(const QString& path, const QByteArray& bytes);

} // namespace skyloom
