#include "test_layout.h"

#include "x_desktop.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

TestLayout::TestLayout()
{
    if (!root_.isValid() || QProcess::execute(QStringLiteral(LAYOUT_SCRIPT), {QStringLiteral(BUILD_DIR), root()}) != 0)
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
    process_.start(layout.workFile(QStringLiteral("skyloom")), {layout.root() + QStringLiteral("/work")});
}

SkyloomRun::~SkyloomRun()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

namespace {

// Centres of the runs of pure blue along a line of pixels.
QList<double> blueRuns(const QImage& image, QPoint from, QPoint step, int count)
{
    QList<double> centres;
    int start = -1;
    for (int n = 0; n <= count; ++n) {
        const QPoint p = from + step * n;
        const bool blue = n < count && image.rect().contains(p) && image.pixelColor(p) == QColor(0, 0, 255);
        if (blue && start < 0)
            start = n;
        if (!blue && start >= 0) {
            centres << (start + n - 1) / 2.0;
            start = -1;
        }
    }
    return centres;
}

} // namespace

MapOnScreen locateMap(const QRect& window)
{
    const QImage screen = desktop::grabScreen();
    // Down column 0's middle (between two vertical edges), across the
    // bottom row of cells.
    const QList<double> rows = blueRuns(screen, QPoint(window.x() + 8, window.y()), QPoint(0, 1), window.height());
    const QList<double> cols = blueRuns(screen, QPoint(window.x(), window.bottom() - 8), QPoint(1, 0), window.width());
    if (rows.size() != 2 || cols.size() != 2)
        return {};
    return {window.x() + cols[0], window.x() + cols[1], window.y() + rows[1], window.y() + rows[0]};
}

QPoint MapOnScreen::cellCentre(int i, int k) const
{
    const double cellWidth = (col11X - col3X) / 8;
    const double cellHeight = (row3Y - row11Y) / 8;
    return QPoint(qRound(col3X + (i - 3 + 0.5) * cellWidth), qRound(row3Y - (k - 3 + 0.5) * cellHeight));
}
