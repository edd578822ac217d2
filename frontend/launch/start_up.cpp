#include "launch/start_up.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <clocale>
#include <cstdio>
#include <langinfo.h>
#include <strings.h>
#include <unistd.h>

namespace skyloom {

namespace {

QtMessageHandler handlerBeforeQuietening = nullptr;

void withoutRuntimeDirectoryNotice(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR not set"))
        return;
    if (handlerBeforeQuietening)
        handlerBeforeQuietening(type, context, message);
}

bool characterTypeIsUtf8()
{
    const char* codeset = nl_langinfo(CODESET);
    return strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "utf8") == 0;
}

} // namespace

void quietenRuntimeDirectoryNotice()
{
    const QtMessageHandler before = qInstallMessageHandler(withoutRuntimeDirectoryNotice);
    if (before != withoutRuntimeDirectoryNotice)
        handlerBeforeQuietening = before;
}

bool useUtf8CharacterType()
{
    if (characterTypeIsUtf8())
        return true;
    // "ja_JP.eucJP" or "de_DE@euro" without its character set and variant.
    QByteArray language = std::setlocale(LC_CTYPE, nullptr);
    for (const char end : {'.', '@'})
        if (const qsizetype at = language.indexOf(end); at >= 0)
            language.truncate(at);
    for (const QByteArray& name : {language + ".UTF-8", QByteArray("C.UTF-8"), QByteArray("C.utf8")})
        if (std::setlocale(LC_CTYPE, name.constData()) && characterTypeIsUtf8())
            return true;
    return false;
}

QString instanceLockPath()
{
    // Asked without XDG_RUNTIME_DIR set, Qt would warn and make a folder of
    // its own in the temporary one; the uid in the name does as well.
    QString dir;
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
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
