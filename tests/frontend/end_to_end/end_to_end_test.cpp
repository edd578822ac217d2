// skyloom and orvex together, used as a person would under the virtual X
// server: the screenshots they leave are kept beside the test program.
#include "test_layout.h"
#include "x_desktop.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>

using namespace desktop;

namespace {

constexpr int kStartMs = 30000;
constexpr int kViewerMs = 90000;

const QString kSkyloom = QStringLiteral("Skyloom");
const QString kViewer = QStringLiteral("ORVEX");

// Share of a window's pixels that differ from a colour, and how many
// different colours it shows.
struct WindowPicture {
    double otherThan = 0;
    int colours = 0;
};

WindowPicture pictureOf(const QImage& screen, const QRect& window, QColor background)
{
    WindowPicture picture;
    QSet<QRgb> seen;
    int other = 0;
    for (int y = window.top(); y <= window.bottom(); y += 2)
        for (int x = window.left(); x <= window.right(); x += 2) {
            const QRgb pixel = screen.pixel(x, y) & 0xFFFFFF;
            seen.insert(pixel);
            other += QColor(pixel) != background ? 1 : 0;
        }
    picture.otherThan = double(other) / (((window.width() + 1) / 2) * ((window.height() + 1) / 2));
    picture.colours = int(seen.size());
    return picture;
}

// The map of a started skyloom, its window and where its cells lie.
struct ShownMap {
    QString window;
    MapOnScreen cells;
};

ShownMap waitForMap()
{
    ShownMap map;
    const std::optional<QString> window = waitForNewWindow(kSkyloom, {}, kStartMs);
    if (!window)
        return map;
    map.window = *window;
    waitFor(
        [&] {
            map.cells = locateMap(geometry(map.window));
            return map.cells.valid();
        },
        kStartMs);
    return map;
}

// Start at surface cell (1, 2), end at (3, 3): three columns and two rows of
// the demo's sheets, then F5.
void chooseSheetsAndDraw(const ShownMap& map, const QString& screenshot = QString())
{
    click(map.cells.cellCentre(1, 2));
    click(map.cells.cellCentre(3, 3));
    if (!screenshot.isEmpty())
        keepScreenshot(grabScreen().copy(geometry(map.window)), screenshot);
    keys(map.window, {"F5"});
}

QList<QByteArray> crLfLines(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.pop_back();
    return lines;
}

void quitViewer(const QString& viewer)
{
    keys(viewer, {"q"});
    EXPECT_TRUE(waitUntilGone(kViewer, kStartMs));
}

void closeSkyloom(SkyloomRun& run, const QString& window)
{
    keys(window, {"alt+f", "x"});
    ASSERT_TRUE(run.process().waitForFinished(kStartMs));
    EXPECT_EQ(run.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.process().exitCode(), 0);
}

} // namespace

TEST(EndToEnd, AColourChosenInTheDialogReachesTheViewerStartedWithF5)
{
    TestLayout layout;
    SkyloomRun run(layout);
    const ShownMap map = waitForMap();
    ASSERT_TRUE(map.cells.valid()) << "no map on the screen; stderr: " << run.standardError().constData();

    // 設定 > 設定...: the background colour through the chooser's HTML field.
    keys(map.window, {"alt+s", "s"});
    const std::optional<QString> dialog = waitForNewWindow(QStringLiteral("設定"), {}, kStartMs);
    ASSERT_TRUE(dialog);
    const QRect dialogBox = geometry(*dialog);
    keepScreenshot(grabScreen().copy(dialogBox), "settings-dialog");
    click(dialogBox.topLeft() + QPoint(16 + 136 + 28, 16 + 313 + 13)); // 変更... of 背景
    const std::optional<QString> chooser = waitForNewWindow(QStringLiteral("Select Color"), {}, kStartMs);
    ASSERT_TRUE(chooser);
    keys(*chooser, {"alt+h", "ctrl+a"});
    type(*chooser, "#ff8000");
    keepScreenshot(grabScreen().copy(geometry(*chooser)), "colour-chooser");
    keys(*chooser, {"Return"});
    ASSERT_TRUE(waitUntilGone(QStringLiteral("Select Color"), kStartMs));
    click(dialogBox.topLeft() + QPoint(288 + 40, 160 + 16)); // OK
    ASSERT_TRUE(waitUntilGone(QStringLiteral("設定"), kStartMs));

    chooseSheetsAndDraw(map, "map-with-six-sheets-chosen");
    const std::optional<QString> viewer = waitForNewWindow(kViewer, {}, kViewerMs);
    ASSERT_TRUE(viewer) << "stderr: " << run.standardError().constData();
    const QRect viewerBox = geometry(*viewer);
    const QColor orange(255, 128, 0);
    // The sky is the background colour; wait for the first frame.
    EXPECT_TRUE(waitFor([&] { return grabScreen().pixelColor(viewerBox.topLeft() + QPoint(4, 4)) == orange; },
                        kViewerMs));
    pause(1500); // let the first frames settle
    const QImage screen = grabScreen();
    keepScreenshot(screen, "viewer-started-with-f5");
    const WindowPicture picture = pictureOf(screen, viewerBox, orange);
    EXPECT_GT(picture.otherThan, 0.08) << "terrain covers part of the window";
    EXPECT_GT(picture.colours, 100) << "shaded, banded terrain";

    quitViewer(*viewer);
    // The viewer read the six sheets of the range, north-west sheet 533806
    // (its output reaches skyloom's once it has flushed it, at its end).
    const QByteArray printed = run.standardOutput();
    EXPECT_TRUE(printed.contains("/533806.MEM")) << printed.constData();
    EXPECT_EQ(printed.count("Reading "), 6) << printed.constData();
    closeSkyloom(run, map.window);

    EXPECT_TRUE(layout.readWork("orvex.env").startsWith("2 0")) << layout.readWork("orvex.env").constData();
    const QList<QByteArray> env = crLfLines(layout.readWork("skyloom.env"));
    ASSERT_EQ(env.size(), 5);
    for (const QByteArray& line : env)
        EXPECT_TRUE(line.endsWith('\r')) << line.constData();
    EXPECT_EQ(env[0], " 2  0 \r");
    EXPECT_EQ(env[1].simplified().split(' ').size(), 4);
    EXPECT_EQ(env[2], " 0 \r");
    EXPECT_EQ(env[3], "\"../GSI50M\" \"../GSI250M\"\r");
    EXPECT_EQ(env[4], " 149  109 \r");
    const QList<QByteArray> colours = crLfLines(layout.readWork("orvex.col"));
    ASSERT_EQ(colours.size(), 11);
    EXPECT_EQ(colours[1], " 9 \r");
    EXPECT_EQ(colours[2], " 0  250  0 \r");
    EXPECT_EQ(colours[10], " 255  128  0 \r");
}

namespace {

QByteArray settingsWithDataDir50(const QByteArray& dir)
{
    return " 2  0 \r\n 0  0  9225  8000 \r\n 0 \r\n\"" + dir + "\" \"../GSI250M\"\r\n 149  109 \r\n";
}

} // namespace

TEST(EndToEnd, ADataDirectoryWithABlankReachesTheViewerWhichOutlivesSkyloom)
{
    TestLayout layout;
    ASSERT_TRUE(QFile::link(layout.root() + "/GSI50M", layout.root() + "/GSI 50M"));
    layout.writeWork("skyloom.env", settingsWithDataDir50("../GSI 50M"));
    SkyloomRun run(layout);
    const ShownMap map = waitForMap();
    ASSERT_TRUE(map.cells.valid()) << "no map on the screen; stderr: " << run.standardError().constData();

    chooseSheetsAndDraw(map);
    const std::optional<QString> viewer = waitForNewWindow(kViewer, {}, kViewerMs);
    ASSERT_TRUE(viewer) << "stderr: " << run.standardError().constData();
    pause(1500);

    // Closing skyloom leaves the viewer flying.
    closeSkyloom(run, map.window);
    pause(1000);
    EXPECT_EQ(windowsNamed(kViewer), QStringList{*viewer});
    const QImage screen = grabScreen();
    keepScreenshot(screen, "viewer-from-a-folder-with-a-blank");
    EXPECT_GT(pictureOf(screen, geometry(*viewer), QColor(200, 200, 255)).otherThan, 0.08);

    quitViewer(*viewer);
    const QByteArray printed = run.standardOutput();
    EXPECT_TRUE(printed.contains("Reading ../GSI 50M/DATA/5338/533806.MEM ...")) << printed.constData();
    EXPECT_EQ(printed.count("Reading "), 6) << printed.constData();
    EXPECT_TRUE(layout.readWork("skyloom.env").contains("\"../GSI 50M\" \"../GSI250M\"\r\n"));
    EXPECT_TRUE(layout.readWork("orvex.env").startsWith("2 0"));
}

TEST(EndToEnd, AViewerThatFindsNoDataHasItsMessageShownBySkyloom)
{
    TestLayout layout;
    ASSERT_TRUE(QDir(layout.root()).mkdir("EMPTY"));
    layout.writeWork("skyloom.env", settingsWithDataDir50("../EMPTY"));
    SkyloomRun run(layout);
    const ShownMap map = waitForMap();
    ASSERT_TRUE(map.cells.valid()) << "no map on the screen; stderr: " << run.standardError().constData();

    chooseSheetsAndDraw(map);
    const std::optional<QString> box = waitForNewWindow(kSkyloom, {map.window}, kViewerMs);
    ASSERT_TRUE(box) << "no message box; stderr: " << run.standardError().constData();
    pause(500);
    const QRect boxGeometry = geometry(*box);
    keepScreenshot(grabScreen().copy(boxGeometry.adjusted(-20, -20, 20, 20)), "viewer-error-message");
    EXPECT_TRUE(run.standardError().contains("*** GSI50M : No DEM files.")) << run.standardError().constData();
    EXPECT_TRUE(windowsNamed(kViewer).isEmpty());

    keys(*box, {"Return"});
    EXPECT_TRUE(waitFor([&] { return windowsNamed(kSkyloom) == QStringList{map.window}; }, kStartMs));
    closeSkyloom(run, map.window);
}

TEST(EndToEnd, TheHelpBoxesOpenFromTheMenuAndCloseWithEnter)
{
    TestLayout layout;
    SkyloomRun run(layout);
    const ShownMap map = waitForMap();
    ASSERT_TRUE(map.cells.valid()) << "no map on the screen; stderr: " << run.standardError().constData();
    for (const char* entry : {"m", "p", "v"}) {
        keys(map.window, {"alt+h", entry});
        const std::optional<QString> box = waitForNewWindow(kSkyloom, {map.window}, kStartMs);
        ASSERT_TRUE(box) << entry;
        pause(300);
        keepScreenshot(grabScreen().copy(geometry(*box)), QStringLiteral("help-") + entry);
        keys(*box, {"Return"});
        EXPECT_TRUE(waitFor([&] { return windowsNamed(kSkyloom) == QStringList{map.window}; }, kStartMs)) << entry;
    }
    closeSkyloom(run, map.window);
}

namespace {

// Pixels of the window that pass the test.
int countPixels(const QImage& screen, const QRect& window, const std::function<bool(QColor)>& test)
{
    int count = 0;
    for (int y = window.top(); y <= window.bottom(); ++y)
        for (int x = window.left(); x <= window.right(); ++x)
            count += test(screen.pixelColor(x, y)) ? 1 : 0;
    return count;
}

int pixelsOf(const QImage& screen, const QRect& window, QColor colour)
{
    return countPixels(screen, window, [&](QColor pixel) { return pixel == colour; });
}

// The name of a cell, drawn in black (smoothed) inside its grid lines.
bool cellHasText(const QImage& screen, const MapOnScreen& cells, int i, int k)
{
    const QPoint centre = cells.cellCentre(i, k);
    const QRect inside(centre - QPoint(18, 12), centre + QPoint(18, 12));
    const auto dark = [](QColor pixel) { return pixel.red() < 110 && pixel.green() < 110 && pixel.blue() < 110; };
    return countPixels(screen, inside, dark) > 10;
}

} // namespace

// The README's run command lays the working folder out with layout.sh; the
// demo's 6 x 4 sheets lie at surface cells (0..5, 1..4) of the default map.
TEST(EndToEnd, ANewcomerPicksTheDemoSheetsAndFliesOverThemWithSummitNames)
{
    TestLayout layout(TestLayout::Made::ByLayoutScript);
    SkyloomRun run(layout, layout.workFile("skyloom"));
    const ShownMap map = waitForMap();
    ASSERT_TRUE(map.cells.valid()) << "no map on the screen; stderr: " << run.standardError().constData();

    // The demo's index names its sheets and no others.
    const QImage before = grabScreen();
    for (int i = 0; i <= 5; ++i)
        for (int k = 1; k <= 4; ++k)
            EXPECT_TRUE(cellHasText(before, map.cells, i, k)) << "no name on cell " << i << ", " << k;
    EXPECT_FALSE(cellHasText(before, map.cells, 2, 8)) << "a name where the demo has no sheet";

    click(map.cells.cellCentre(0, 4));
    click(map.cells.cellCentre(5, 1));
    keepScreenshot(grabScreen().copy(geometry(map.window)), "map");
    keys(map.window, {"F5"});
    const std::optional<QString> viewer = waitForNewWindow(kViewer, {}, kViewerMs);
    ASSERT_TRUE(viewer) << "stderr: " << run.standardError().constData();
    const QRect box = geometry(*viewer);

    // Sky in the background colour, a sea of pure blue and land in the
    // green bands, all shaded by the sun, from the shipped orvex.col.
    const QColor sky(200, 200, 255);
    const auto seaBlue = [](QColor c) { return c.red() == 0 && c.green() == 0 && c.blue() > 100; };
    const auto landGreen = [](QColor c) { return c.green() > c.red() + 20 && c.green() > c.blue() + 20; };
    const int area = box.width() * box.height();
    QImage home;
    EXPECT_TRUE(waitFor(
        [&] {
            home = grabScreen();
            return home.pixelColor(box.topLeft() + QPoint(4, 4)) == sky &&
                   countPixels(home, box, seaBlue) > area / 100 && countPixels(home, box, landGreen) > area / 20;
        },
        kViewerMs))
        << "sea " << countPixels(home, box, seaBlue) << ", land " << countPixels(home, box, landGreen)
        << " of " << area;

    // m: names on. Fuji-san (kind 1) and Tanzawa-san (kind 0) are labelled
    // in their two colours.
    const QColor famous(150, 0, 100), other(30, 30, 30);
    keys(*viewer, {"m"});
    QImage named;
    EXPECT_TRUE(waitFor(
        [&] {
            named = grabScreen();
            return pixelsOf(named, box, famous) > pixelsOf(home, box, famous) + 40 &&
                   pixelsOf(named, box, other) > pixelsOf(home, box, other) + 40;
        },
        kStartMs));

    // Fly: double speed, ten steps ahead, turn left, descend. The picture
    // moves and Fuji-san keeps its label.
    keys(*viewer, QStringList{"x"} + QStringList(10, "z") + QStringList(2, "Left") + QStringList(4, "g"));
    QImage flown;
    EXPECT_TRUE(waitFor(
        [&] {
            flown = grabScreen();
            return pictureOf(flown, box, sky).otherThan > 0.2 && pixelsOf(flown, box, famous) > 40 &&
                   flown.copy(box) != named.copy(box);
        },
        kStartMs));
    keepScreenshot(flown.copy(box), "viewer");

    quitViewer(*viewer);
    const QByteArray printed = run.standardOutput();
    EXPECT_EQ(printed.count("Reading "), 24) << printed.constData();
    // Saved on q: the version, the window, the light, blending and names on.
    EXPECT_EQ(layout.readWork("orvex.env"), "2 0\n700 550\n1.000\n250.0 30.0\n1\n1\n");
    closeSkyloom(run, map.window);
}
