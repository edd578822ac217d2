#include "launch/start_up.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <unistd.h>

namespace skyloom {

QString instanceLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // The uid keeps users apart even where they share the temporary folder.
    return dir + QStringLiteral("/skyloom-%1.lock").arg(static_cast<qulonglong>(getuid()));
}

std::unique_ptr<QLockFile> lockSingleInstance(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(path);
    // Age alone must never make a running instance's lock look stale; a dead
    // owner is recognised by its process id instead.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QString commandLineText(const QStringList& arguments)
{
    return arguments.mid(1).join(u' ');
}

bool enterStartDirectory(const QString& text)
{
    if (text.isEmpty())
        return true;
    if (QFileInfo(text).isDir() && QDir::setCurrent(text))
        return true;
    std::fprintf(stderr, "skyloom: %s is not a directory; staying in %s\n", text.toLocal8Bit().constData(),
                 QDir::currentPath().toLocal8Bit().constData());
    return false;
}

} // namespace skyloom
