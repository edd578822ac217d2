#include "x_desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QThread>

namespace desktop {

QString xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList windowsNamed(const QString& title)
{
    const QString pattern = u'^' + QRegularExpression::escape(title) + u'$';
    return xdotool({"search", "--onlyvisible", "--name", pattern}).split(u'\n', Qt::SkipEmptyParts);
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(100);
    }
    return true;
}

std::optional<QString> waitForNewWindow(const QString& title, const QStringList& known, int timeoutMs)
{
    std::optional<QString> found;
    waitFor(
        [&] {
            for (const QString& window : windowsNamed(title))
                if (!known.contains(window))
                    found = window;
            return found.has_value();
        },
        timeoutMs);
    return found;
}

bool waitUntilGone(const QString& title, int timeoutMs)
{
    return waitFor([&] { return windowsNamed(title).isEmpty(); }, timeoutMs);
}

QRect geometry(const QString& window)
{
    // X=.., Y=.., WIDTH=.., HEIGHT=..
    int values[4] = {};
    const char* names[4] = {"X=", "Y=", "WIDTH=", "HEIGHT="};
    for (const QString& line : xdotool({"getwindowgeometry", "--shell", window}).split(u'\n'))
        for (int i = 0; i < 4; ++i)
            if (line.startsWith(QLatin1String(names[i])))
                values[i] = line.mid(int(qstrlen(names[i]))).toInt();
    return QRect(values[0], values[1], values[2], values[3]);
}

void keys(const QString& window, const QStringList& keys)
{
    xdotool({"windowfocus", "--sync", window});
    for (const QString& key : keys) {
        xdotool({"key", "--clearmodifiers", key});
        QThread::msleep(150);
    }
}

void type(const QString& window, const QString& text)
{
    xdotool({"windowfocus", "--sync", window});
    xdotool({"type", "--delay", "30", text});
}

void click(QPoint at)
{
    xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())});
    xdotool({"click", "1"});
    QThread::msleep(150);
}

QImage grabScreen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

void keepScreenshot(const QImage& image, const QString& name)
{
    // scripts/screenshots.sh sends them elsewhere.
    const QString dir = qEnvironmentVariable("SCREENSHOT_DIR", QStringLiteral(SCREENSHOT_DIR));
    QDir().mkpath(dir);
    image.save(dir + u'/' + name + QStringLiteral(".png"));
}

} // namespace desktop
