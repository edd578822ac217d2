// skyloom and orvex together, used as a person would under the virtual X
// server: the screenshots they leave are kept beside the test program.
#include "skyloom_session.h"
#include "x_desktop.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

using namespace desktop;

namespace {

constexpr int kStartMs = 30000;
constexpr int kViewerMs = 90000;
const QString kSkyloom = QStringLiteral("Skyloom");
const QString kViewer = QStringLiteral("ORVEX");

// Pixels of the window that pass the test, every step pixels each way.
int countPixels(const QImage& screen, const QRect& window, const std::function<bool(QColor)>& test,
                int step = 1)
{
    int count = 0;
    for (int y = window.top(); y <= window.bottom(); y += step)
        for (int x = window.left(); x <= window.right(); x += step)
            count += test(screen.pixelColor(x, y)) ? 1 : 0;
    return count;
}

int pixelsOf(const QImage& screen, const QRect& window, QColor colour)
{
    return countPixels(screen, window, [&](QColor pixel) { return pixel == colour; });
}

// Share of a window's pixels that differ from its background colour.
double coverage(const QImage& screen, const QRect& window, QColor background)
{
    return 1 - double(countPixels(
                   screen, window, [&](QColor p) { return p == background; }, 2)) /
                   (((window.width() + 1) / 2) * ((window.height() + 1) / 2));
}

// Two clicks on the map, from one corner cell of the range to the other, then F5.
void chooseSheetsAndDraw(const SkyloomSession& skyloom, QPoint from, QPoint to, const QString& screenshot)
{
    click(skyloom.cell(from.x(), from.y()));
    click(skyloom.cell(to.x(), to.y()));
    keepScreenshot(grabScreen().copy(skyloom.box()), screenshot);
    keys(skyloom.window(), {"F5"});
}

} // namespace

// The 50 m data lies in "GSI 50M", not where the default "../GSI50M" looks:
// the viewer fails and says why; the settings dialog then gives the folder
// and a new background colour, and the next viewer shows both.
TEST(EndToEnd, TheDialogsFolderAndColourReachTheViewerWhichOutlivesSkyloom)
{
    SkyloomSession skyloom([](const QString& root) { QDir(root).rename("GSI50M", "GSI 50M"); });
    ASSERT_FALSE(skyloom.window().isEmpty()) << "no map; stderr: " << skyloom.read("skyloom.err").constData();

    // Surface cells (1, 3) to (3, 2): three columns and two rows of the demo.
    chooseSheetsAndDraw(skyloom, {1, 3}, {3, 2}, "map-with-six-sheets-chosen");
    const std::optional<QString> box = waitForNewWindow(kSkyloom, {skyloom.window()}, kViewerMs);
    ASSERT_TRUE(box) << "no message box; stderr: " << skyloom.read("skyloom.err").constData();
    pause(500);
    keepScreenshot(grabScreen().copy(geometry(*box).adjusted(-20, -20, 20, 20)), "viewer-error-message");
    EXPECT_TRUE(skyloom.read("skyloom.err").contains("*** GSI50M : No DEM files."));
    EXPECT_TRUE(windowsNamed(kViewer).isEmpty());
    keys(*box, {"Return"});
    ASSERT_TRUE(waitFor([&] { return windowsNamed(kSkyloom) == QStringList{skyloom.window()}; }, kStartMs));

    // 設定 > 設定...: the background through the chooser's HTML field, the
    // 50 m folder typed into its box.
    keys(skyloom.window(), {"alt+s", "s"});
    const std::optional<QString> dialog = waitForNewWindow(QStringLiteral("設定"), {}, kStartMs);
    ASSERT_TRUE(dialog);
    const QPoint dialogAt = geometry(*dialog).topLeft();
    keepScreenshot(grabScreen().copy(geometry(*dialog)), "settings-dialog");
    click(dialogAt + QPoint(16 + 136 + 28, 16 + 313 + 13)); // 変更... of 背景
    const std::optional<QString> chooser = waitForNewWindow(QStringLiteral("Select Color"), {}, kStartMs);
    ASSERT_TRUE(chooser);
    keys(*chooser, {"alt+h", "ctrl+a"});
    type(*chooser, "#ff8000");
    keys(*chooser, {"Return"});
    ASSERT_TRUE(waitUntilGone(QStringLiteral("Select Color"), kStartMs));
    click(dialogAt + QPoint(240 + 72 + 44, 16 + 40 + 9)); // the 50 m folder
    keys(*dialog, {"ctrl+a"});
    type(*dialog, "../GSI 50M");
    click(dialogAt + QPoint(288 + 40, 160 + 16)); // OK
    ASSERT_TRUE(waitUntilGone(QStringLiteral("設定"), kStartMs));

    chooseSheetsAndDraw(skyloom, {1, 3}, {3, 2}, "map-before-the-second-start");
    const std::optional<QString> viewer = waitForNewWindow(kViewer, {}, kViewerMs);
    ASSERT_TRUE(viewer) << "stderr: " << skyloom.read("skyloom.err").constData();
    const QRect viewerBox = geometry(*viewer);
    const QColor orange(255, 128, 0);
    EXPECT_TRUE(waitFor([&] { return grabScreen().pixelColor(viewerBox.topLeft() + QPoint(4, 4)) == orange; },
                        kViewerMs))
        << "the sky is the background colour";
    pause(1500); // let the first frames settle

    // Closing skyloom leaves the viewer flying over shaded, banded terrain.
    EXPECT_TRUE(skyloom.close()) << "stderr: " << skyloom.read("skyloom.err").constData();
    pause(1000);
    EXPECT_EQ(windowsNamed(kViewer), QStringList{*viewer});
    const QImage screen = grabScreen();
    keepScreenshot(screen, "viewer-started-with-f5");
    EXPECT_GT(coverage(screen, viewerBox, orange), 0.08) << "terrain covers part of the window";
    QSet<QRgb> colours;
    for (int y = viewerBox.top(); y <= viewerBox.bottom(); y += 2)
        for (int x = viewerBox.left(); x <= viewerBox.right(); x += 2)
            colours.insert(screen.pixel(x, y));
    EXPECT_GT(colours.size(), 100);

    keys(*viewer, {"q"});
    EXPECT_TRUE(waitUntilGone(kViewer, kStartMs));
    // Its output reaches skyloom's once it has flushed it, at its end.
    const QByteArray printed = skyloom.read("skyloom.out");
    EXPECT_TRUE(printed.contains("Reading ../GSI 50M/DATA/5338/533806.MEM ...")) << printed.constData();
    EXPECT_EQ(printed.count("Reading "), 6) << printed.constData();
    EXPECT_TRUE(skyloom.read("work/orvex.col").contains("\r\n 255  128  0 \r\n"));
    EXPECT_TRUE(skyloom.read("work/skyloom.env").contains("\"../GSI 50M\" \"../GSI250M\"\r\n"));
    EXPECT_TRUE(skyloom.read("work/orvex.env").startsWith("2 0"));
}

// The README's run command lays the working folder out with layout.sh; the
// demo's 6 x 4 sheets lie at surface cells (0..5, 1..4) of the default map.
TEST(EndToEnd, ANewcomerPicksTheDemoSheetsAndFliesOverThemWithSummitNames)
{
    SkyloomSession skyloom;
    ASSERT_FALSE(skyloom.window().isEmpty()) << "no map; stderr: " << skyloom.read("skyloom.err").constData();

    // The demo's index names its sheets and no others: dark (smoothed) text
    // inside the cell's grid lines.
    const QImage before = grabScreen();
    const auto named = [&](int i, int k) {
        const QPoint centre = skyloom.cell(i, k);
        const auto dark = [](QColor p) { return p.red() < 110 && p.green() < 110 && p.blue() < 110; };
        return countPixels(before, QRect(centre - QPoint(18, 12), centre + QPoint(18, 12)), dark) > 10;
    };
    for (int i = 0; i <= 5; ++i)
        for (int k = 1; k <= 4; ++k)
            EXPECT_TRUE(named(i, k)) << "no name on cell " << i << ", " << k;
    EXPECT_FALSE(named(2, 8)) << "a name where the demo has no sheet";

    chooseSheetsAndDraw(skyloom, {0, 4}, {5, 1}, "map");
    const std::optional<QString> viewer = waitForNewWindow(kViewer, {}, kViewerMs);
    ASSERT_TRUE(viewer) << "stderr: " << skyloom.read("skyloom.err").constData();
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
                   countPixels(home, box, seaBlue) > area / 100 &&
                   countPixels(home, box, landGreen) > area / 20;
        },
        kViewerMs))
        << "sea " << countPixels(home, box, seaBlue) << ", land " << countPixels(home, box, landGreen)
        << " of " << area;

    // m: names on. Fuji-san (kind 1) and Tanzawa-san (kind 0) are labelled
    // in their two colours.
    const QColor famous(150, 0, 100), other(30, 30, 30);
    keys(*viewer, {"m"});
    QImage labelled;
    EXPECT_TRUE(waitFor(
        [&] {
            labelled = grabScreen();
            return pixelsOf(labelled, box, famous) > pixelsOf(home, box, famous) + 40 &&
                   pixelsOf(labelled, box, other) > pixelsOf(home, box, other) + 40;
        },
        kStartMs));

    // Fly: double speed, ten steps ahead, turn left, descend. The picture
    // moves and Fuji-san keeps its label.
    keys(*viewer, QStringList{"x"} + QStringList(10, "z") + QStringList(2, "Left") + QStringList(4, "g"));
    QImage flown;
    EXPECT_TRUE(waitFor(
        [&] {
            flown = grabScreen();
            return coverage(flown, box, sky) > 0.2 && pixelsOf(flown, box, famous) > 40 &&
                   flown.copy(box) != labelled.copy(box);
        },
        kStartMs));
    keepScreenshot(flown.copy(box), "viewer");

    keys(*viewer, {"q"});
    EXPECT_TRUE(waitUntilGone(kViewer, kStartMs));
    EXPECT_EQ(skyloom.read("skyloom.out").count("Reading "), 24) << skyloom.read("skyloom.out").constData();
    // Saved on q: the version, the window, the light, blending and names on.
    EXPECT_EQ(skyloom.read("work/orvex.env"), "2 0\n700 550\n1.000\n250.0 30.0\n1\n1\n");
    EXPECT_TRUE(skyloom.close()) << "stderr: " << skyloom.read("skyloom.err").constData();
}
