#include "test_layout.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

TestLayout::TestLayout()
{
    if (!root_.isValid() ||
        QProcess::execute(QStringLiteral(LAYOUT_SCRIPT), {QStringLiteral(BUILD_DIR), root()}) != 0)
        throw std::runtime_error("layout.sh failed");
}

QByteArray TestLayout::read(const QString& pathBelowRoot) const
{
    QFile file(root_.filePath(pathBelowRoot));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

SkyloomRun::SkyloomRun(const TestLayout& layout)
{
    const QString runtime = layout.root() + QStringLiteral("/runtime");
    QDir().mkdir(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(layout.root());
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.setStandardOutputFile(layout.root() + QStringLiteral("/skyloom.out"));
    process_.setStandardErrorFile(layout.root() + QStringLiteral("/skyloom.err"));
    process_.start(layout.root() + QStringLiteral("/work/skyloom"),
                   {layout.root() + QStringLiteral("/work")});
}

SkyloomRun::~SkyloomRun()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QPoint cellCentre(const QRect& window, int i, int k)
{
    return QPoint(window.left() + int((i + 0.5) * 615 / 14), window.bottom() - int((k + 0.5) * 486 / 14));
}
