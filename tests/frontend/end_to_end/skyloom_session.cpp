#include "skyloom_session.h"

#include "x_desktop.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace {

constexpr int kStartMs = 30000;

} // namespace

SkyloomSession::SkyloomSession(const std::function<void(const QString& root)>& prepare)
{
    const QString root = root_.path();
    if (!root_.isValid() ||
        QProcess::execute(QStringLiteral(LAYOUT_SCRIPT), {QStringLiteral(BUILD_DIR), root}) != 0)
        throw std::runtime_error("layout.sh failed");
    if (prepare)
        prepare(root);
    QDir(root).mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/runtime"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(root);
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.setStandardOutputFile(root + QStringLiteral("/skyloom.out"));
    process_.setStandardErrorFile(root + QStringLiteral("/skyloom.err"));
    process_.start(root + QStringLiteral("/work/skyloom"), {root + QStringLiteral("/work")});

    // The map is drawn once the thick blue edge of the primary squares at
    // surface column 3 (default origin) shows.
    if (const std::optional<QString> window =
            desktop::waitForNewWindow(QStringLiteral("Skyloom"), {}, kStartMs)) {
        box_ = desktop::geometry(*window);
        const QPoint edge(box_.left() + qRound(3 * 615 / 14.0), cell(0, 0).y());
        if (desktop::waitFor([&] { return desktop::grabScreen().pixelColor(edge) == QColor(0, 0, 255); },
                             kStartMs))
            window_ = *window;
    }
}

SkyloomSession::~SkyloomSession()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QPoint SkyloomSession::cell(int i, int k) const
{
    return QPoint(box_.left() + int((i + 0.5) * 615 / 14), box_.bottom() - int((k + 0.5) * 486 / 14));
}

QByteArray SkyloomSession::read(const QString& path) const
{
    QFile file(root_.filePath(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool SkyloomSession::close()
{
    desktop::keys(window_, {"alt+f", "x"});
    return process_.waitForFinished(kStartMs) && process_.exitStatus() == QProcess::NormalExit &&
           process_.exitCode() == 0;
}
