#include "core/saved_file.h"

#include "core/messages.h"

#include <QSaveFile>

namespace skyloom {

SaveResult writeFileBesideAndRename(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {path, false, file.errorString()};
    // QSaveFile buffers the bytes and commits even when writing them out at
    // the end fails (a full disk): flush them first, and check that too.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return {path, false, error};
    }
    if (!file.commit())
        return {path, false, file.errorString()};
    return {path, true, {}};
}

void tellSaveFailures(std::initializer_list<SaveResult> results)
{
    QStringList lines;
    for (const SaveResult& result : results)
        if (!result)
            lines << result.fileName + QStringLiteral(" を保存できません。") << result.error;
    if (!lines.isEmpty())
        showMessage({lines.join(u'\n'), MessageIcon::Warning});
}

} // namespace skyloom
