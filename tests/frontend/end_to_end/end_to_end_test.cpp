// skyloom and orvex together, used as a person would under the virtual X
// server that xvfb-run provides: windows found by their titles, the pointer
// and the keys driven with xdotool, the screen grabbed. The screenshots are
// kept beside the test program, or in $SCREENSHOT_DIR (scripts/screenshots.sh
// takes the README's pictures from here).
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace {

constexpr int kStartMs = 30000;
constexpr int kViewerMs = 90000;

// xdotool in a UTF-8 locale whatever the caller's, so that it reads titles
// such as 設定 as they are.
QString xdotool(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C.UTF-8");
    process.setProcessEnvironment(environment);
    process.start("xdotool", arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    for (timer.start(); !condition(); QThread::msleep(100))
        if (timer.elapsed() > timeoutMs)
            return false;
    return true;
}

// A visible window of this title, or of this title and more after two blanks
// (the viewer's tells where its eye is); the one found first.
std::optional<QString> waitForWindow(const QString& title, int timeoutMs = kStartMs)
{
    const QStringList search{"search", "--onlyvisible", "--name",
                             u'^' + QRegularExpression::escape(title) + QStringLiteral("(  .*)?$")};
    QString found;
    waitFor([&] { return !(found = xdotool(search).section(u'\n', 0, 0)).isEmpty(); }, timeoutMs);
    return found.isEmpty() ? std::nullopt : std::optional(found);
}

QRect geometry(const QString& window)
{
    // Lines X=.., Y=.., WIDTH=.., HEIGHT=..
    const QString shell = xdotool({"getwindowgeometry", "--shell", window});
    int values[4] = {};
    for (int& value : values)
        value = shell.section(u'\n', &value - values + 1, &value - values + 1).section(u'=', 1).toInt();
    return QRect(values[0], values[1], values[2], values[3]);
}

// Gives the window the keyboard and presses the keys ("F5", "alt+s") in turn.
void keys(const QString& window, const QStringList& keys)
{
    xdotool(QStringList{"windowfocus", "--sync", window, "key", "--clearmodifiers", "--delay", "150"} + keys);
}

void clickAt(QPoint at)
{
    xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

QImage grabScreen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

void keepScreenshot(const QImage& image, const QString& name)
{
    const QString dir = qEnvironmentVariable("SCREENSHOT_DIR", QStringLiteral(SCREENSHOT_DIR));
    QDir().mkpath(dir);
    image.save(dir + u'/' + name + ".png");
}

// Pixels of the box that pass the test.
int countPixels(const QImage& screen, const QRect& box, const std::function<bool(QColor)>& test)
{
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            count += test(screen.pixelColor(x, y));
    return count;
}

// skyloom as a user starts it on a layout made by the run command's own
// script (the demo terrain beside a working folder with the programs and the
// shipped files): in the C locale of a system without LANG, with a run-time
// folder of its own so that no other instance counts. What skyloom and its
// viewers print goes to skyloom.out and skyloom.err in the layout's root.
class SkyloomSession {
  public:
    SkyloomSession()
    {
        if (!root_.isValid() || QProcess::execute(LAYOUT_SCRIPT, {BUILD_DIR, root_.path()}) != 0)
            return;
        QDir(root_.path()).mkdir("runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* locale : {"LANG", "LANGUAGE", "LC_ALL", "LC_CTYPE", "LC_MESSAGES"})
            environment.remove(locale);
        environment.insert("XDG_RUNTIME_DIR", root_.filePath("runtime"));
        environment.insert("QT_QPA_PLATFORM", "xcb");
        process_.setProcessEnvironment(environment);
        process_.setStandardInputFile(QProcess::nullDevice());
        process_.setStandardOutputFile(root_.filePath("skyloom.out"));
        process_.setStandardErrorFile(root_.filePath("skyloom.err"));
        process_.start(root_.filePath("work/skyloom"), {root_.filePath("work")});
        // The map is drawn once the thick blue edge of the primary squares at
        // surface column 3 (default origin) shows.
        if (const std::optional<QString> window = waitForWindow("Skyloom")) {
            box_ = geometry(*window);
            const QPoint edge(box_.left() + qRound(3 * 615 / 14.0), cell(0, 0).y());
            if (waitFor([&] { return grabScreen().pixelColor(edge) == QColor(0, 0, 255); }, kStartMs))
                window_ = *window;
        }
    }
    ~SkyloomSession() { process_.kill(), process_.waitForFinished(5000); }

    // Empty when no map came up.
    const QString& window() const { return window_; }
    // The screen point of the centre of surface cell (i, k) of the map's
    // 14 x 14 cells in 615 x 486 pixels at the bottom of the window.
    QPoint cell(int i, int k) const
    {
        return QPoint(box_.left() + int((i + 0.5) * 615 / 14), box_.bottom() - int((k + 0.5) * 486 / 14));
    }
    void click(int i, int k) const { clickAt(cell(i, k)); }
    QByteArray read(const QString& path) const
    {
        QFile file(root_.filePath(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "";
    }
    // Closes skyloom by its menu; whether it ended normally with status 0.
    bool close()
    {
        keys(window_, {"alt+f", "x"});
        return process_.waitForFinished(kStartMs) && process_.exitStatus() == QProcess::NormalExit &&
               process_.exitCode() == 0;
    }
    // Whether a viewer of this layout runs: a process whose program is its
    // orvex. One that has ended has flushed its output.
    bool viewerRuns() const
    {
        const QString viewer = QFileInfo(root_.filePath("work/orvex")).canonicalFilePath();
        for (const QString& pid : QDir("/proc").entryList({"[0-9]*"}, QDir::Dirs))
            if (QFileInfo("/proc/" + pid + "/exe").symLinkTarget() == viewer)
                return true;
        return false;
    }

  private:
    QTemporaryDir root_;
    QProcess process_;
    QString window_;
    QRect box_;
};

} // namespace

// The README's run command lays the working folder out with layout.sh; the
// demo's 6 x 4 sheets lie at surface cells (0..5, 1..4) of the default map.
TEST(EndToEnd, ANewcomerFliesOverTheDemoSheetsWithSummitNames)
{
    SkyloomSession skyloom;
    ASSERT_FALSE(skyloom.window().isEmpty()) << "no map; stderr: " << skyloom.read("skyloom.err").constData();

    // The demo's index names its sheets and no others: dark (smoothed) text
    // inside the cell's grid lines.
    const QImage map = grabScreen();
    const auto dark = [](QColor p) { return p.red() < 110 && p.green() < 110 && p.blue() < 110; };
    const auto named = [&](int i, int k) {
        const QPoint at = skyloom.cell(i, k);
        return countPixels(map, QRect(at - QPoint(18, 12), at + QPoint(18, 12)), dark) > 10;
    };
    for (int i = 0; i <= 5; ++i)
        for (int k = 1; k <= 4; ++k)
            EXPECT_TRUE(named(i, k)) << "no name on cell " << i << ", " << k;
    EXPECT_FALSE(named(2, 8)) << "a name where the demo has no sheet";

    // Two clicks from one corner of the range to the other, then F5.
    skyloom.click(0, 4);
    skyloom.click(5, 1);
    keepScreenshot(grabScreen().copy(geometry(skyloom.window())), "map");
    keys(skyloom.window(), {"F5"});
    const std::optional<QString> viewer = waitForWindow("ORVEX", kViewerMs);
    ASSERT_TRUE(viewer) << "stderr: " << skyloom.read("skyloom.err").constData();
    const QRect box = geometry(*viewer);

    // Sky in the background colour, a sea of pure blue and land in the
    // green bands, all shaded by the sun, from the shipped orvex.col.
    const auto seaBlue = [](QColor c) { return c.red() == 0 && c.green() == 0 && c.blue() > 100; };
    const auto landGreen = [](QColor c) { return c.green() > c.red() + 20 && c.green() > c.blue() + 20; };
    const int area = box.width() * box.height();
    QImage home;
    EXPECT_TRUE(waitFor(
        [&] {
            home = grabScreen();
            return home.pixelColor(box.topLeft() + QPoint(4, 4)) == QColor(200, 200, 255) &&
                   countPixels(home, box, seaBlue) > area / 100 &&
                   countPixels(home, box, landGreen) > area / 20;
        },
        kViewerMs));

    // m: names on, Fuji-san labelled in its colour; then fly: double speed,
    // ten steps ahead, turn left, descend. The picture moves and Fuji-san
    // keeps its label.
    const auto fuji = [&](const QImage& screen) {
        return countPixels(screen, box, [](QColor p) { return p == QColor(150, 0, 100); });
    };
    keys(*viewer, {"m"});
    QImage labelled, flown;
    EXPECT_TRUE(waitFor([&] { return fuji(labelled = grabScreen()) > fuji(home) + 40; }, kStartMs));
    keys(*viewer, QStringList{"x"} + QStringList(10, "z") + QStringList(2, "Left") + QStringList(4, "g"));
    EXPECT_TRUE(waitFor(
        [&] { return fuji(flown = grabScreen()) > 40 && flown.copy(box) != labelled.copy(box); }, kStartMs));
    keepScreenshot(flown.copy(box), "viewer");

    // skyloom ends and leaves the viewer flying; the viewer's output reaches
    // skyloom's once it has ended.
    EXPECT_TRUE(skyloom.close()) << "stderr: " << skyloom.read("skyloom.err").constData();
    EXPECT_TRUE(skyloom.viewerRuns());
    keys(*viewer, {"q"});
    ASSERT_TRUE(waitFor([&] { return !skyloom.viewerRuns(); }, kStartMs));
    EXPECT_EQ(skyloom.read("skyloom.out").count("Reading "), 24) << skyloom.read("skyloom.out").constData();
    // Saved on q: the version, the window, the light, blending and names on.
    EXPECT_EQ(skyloom.read("work/orvex.env"), "2 0\n700 550\n1.000\n250.0 30.0\n1\n1\n");
    EXPECT_TRUE(skyloom.read("work/skyloom.env").startsWith(" 2  0 \r\n"));
}

// The same demo sheets as the GSI DEM's 10 m ZIPs: chosen in the settings,
// the sheets with data tinted, two of them picked on the map and flown over.
TEST(EndToEnd, TenMetreSheetsPickedOnTheMapShowTheirTerrain)
{
    SkyloomSession skyloom;
    ASSERT_FALSE(skyloom.window().isEmpty()) << "no map; stderr: " << skyloom.read("skyloom.err").constData();
    keys(skyloom.window(), {"alt+s", "s"});
    const std::optional<QString> dialog = waitForWindow("設定");
    ASSERT_TRUE(dialog);
    // The dialog's 10m option button and OK, at their places in it.
    const QPoint corner = geometry(*dialog).topLeft();
    clickAt(corner + QPoint(266, 112));
    clickAt(corner + QPoint(328, 248));
    ASSERT_TRUE(waitFor([&] { return !waitForWindow("設定", 0); }, kStartMs)) << "the dialog stays open";

    // The background scan tints the sheets whose ZIPs are in ../FGD.
    const QColor tint(255, 238, 190);
    const auto tinted = [&](int i, int k) {
        return grabScreen().pixelColor(skyloom.cell(i, k) + QPoint(-15, 12)) == tint;
    };
    EXPECT_TRUE(waitFor([&] { return tinted(4, 3); }, kStartMs));
    EXPECT_FALSE(tinted(8, 8)) << "no data there";

    skyloom.click(2, 3);
    skyloom.click(3, 3);
    keepScreenshot(grabScreen().copy(geometry(skyloom.window())), "map-10m");
    keys(skyloom.window(), {"F5"});
    const std::optional<QString> viewer = waitForWindow("ORVEX", kViewerMs);
    ASSERT_TRUE(viewer) << "stderr: " << skyloom.read("skyloom.err").constData();
    const QRect box = geometry(*viewer);
    const auto landGreen = [](QColor c) { return c.green() > c.red() + 20 && c.green() > c.blue() + 20; };
    QImage terrain;
    EXPECT_TRUE(waitFor(
        [&] {
            terrain = grabScreen();
            return terrain.pixelColor(box.topLeft() + QPoint(4, 4)) == QColor(200, 200, 255) &&
                   countPixels(terrain, box, landGreen) > box.width() * box.height() / 20;
        },
        kViewerMs));
    keepScreenshot(terrain.copy(box), "viewer-10m");
    keys(*viewer, {"q"});
    ASSERT_TRUE(waitFor([&] { return !skyloom.viewerRuns(); }, kStartMs));
    EXPECT_TRUE(skyloom.read("skyloom.out").contains("DEM10B")) << skyloom.read("skyloom.out").constData();
    EXPECT_TRUE(skyloom.close());
    EXPECT_TRUE(skyloom.read("work/skyloom.env").contains("\r\n 2 \r\n")) << "the data set kept";
}

int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
