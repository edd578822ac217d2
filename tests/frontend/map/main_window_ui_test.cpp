#include "map/main_window_ui.h"
#include "map/map_surface_ui.h"
#include "test_files.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// frmMain started as the program starts it, in a scratch working folder
// with a 50 m index beside it and a small coastline, and shown offscreen.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scratch.write(QStringLiteral("GSI50M/ZUMEI.CSV"),
                      shiftJisLines({QStringLiteral("コード,図名"), QStringLiteral("533946,東京西北部"),
                                     QStringLiteral("533945,吉祥寺")}));
        scratch.write(QStringLiteral("GSI250M/ZUMEI.CSV"),
                      shiftJisLines({QStringLiteral("code,name"), QStringLiteral("5339,東京")}));
        // A coast line through the middle of surface row 12 of the default
        // view, from column 1 to column 6.
        scratch.write(QStringLiteral("work/JapanCoast.txt"), "2\r\n138.75,36.125\r\n139.375,36.125\r\n");
        QDir::setCurrent(QStringLiteral("work"));
        window = std::make_unique<MainWindow>();
        window->Form_Load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        picMap = window->picMap();
    }

    void TearDown() override
    {
        window->popupMenu()->hide();
        window.reset();
    }

    // The pixel at the centre of surface cell (i, k).
    QPoint cellCentre(int i, int k) const
    {
        const MapState& s = window->state();
        return QPoint(int((i + 0.5) * picMap->width() / s.viewCols),
                      int((s.viewRows - k - 0.5) * picMap->height() / s.viewRows));
    }
    int columnOfLine(int i) const { return qRound(double(i) * picMap->width() / window->state().viewCols); }
    int rowOfLine(int k) const
    {
        const MapState& s = window->state();
        return qRound(double(s.viewRows - k) * picMap->height() / s.viewRows);
    }

    QImage screen() const { return picMap->grab().toImage(); }
    void click(Qt::MouseButton button, QPoint at) { QTest::mouseClick(picMap, button, Qt::NoModifier, at); }

    ScratchDirectory scratch;
    MessageRecorder messages;
    std::unique_ptr<MainWindow> window;
    MapSurface* picMap = nullptr;
};

QColor rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

// Whether some pixel in the rectangle is dark, as text and coast are.
bool hasDarkPixel(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 90 && c.green() < 90 && c.blue() < 90)
                return true;
        }
    return false;
}

int countColour(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

QAction* action(QWidget* root, const char* name)
{
    return root->findChild<QAction*>(QString::fromLatin1(name));
}

} // namespace

TEST_F(MainWindowTest, OpensCaptionedWithItsMenusAndAFourteenByFourteenMap)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Skyloom"));
    EXPECT_EQ(window->objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(window->centralWidget(), picMap);
    EXPECT_EQ(picMap->objectName(), QStringLiteral("picMap"));
    EXPECT_EQ(picMap->size(), QSize(615, 486));
    EXPECT_EQ(window->state().viewCols, 14);
    EXPECT_EQ(window->state().viewRows, 14);
    EXPECT_TRUE(messages.shown.empty()) << "both indexes are there";

    QStringList menus;
    for (QAction* a : window->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{QStringLiteral("ファイル(&F)"), QStringLiteral("設定(&S)"),
                                  QStringLiteral("実行(&G)"), QStringLiteral("ヘルプ(&H)")}));
    const std::pair<const char*, QString> entries[] = {
        {"mnuExit", QStringLiteral("終了(&X)")},          {"mnuSetting", QStringLiteral("設定(&S)...")},
        {"mnuGo", QStringLiteral("描画(&G)")},            {"mnuManual", QStringLiteral("使用法(&M)")},
        {"mnuUsage", QStringLiteral("描画使用法(&P)")},   {"mnuReadme", QStringLiteral("READMEを開く(&R)")},
        {"mnuVersion", QStringLiteral("バージョン(&V)")}, {"mnuGo2", QStringLiteral("描画")}};
    for (const auto& [name, caption] : entries) {
        QAction* entry = action(window.get(), name);
        ASSERT_TRUE(entry) << name;
        EXPECT_EQ(entry->text(), caption) << name;
    }
    EXPECT_EQ(action(window.get(), "mnuGo")->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(window->popupMenu()->objectName(), QStringLiteral("mnuPopup"));
    EXPECT_EQ(window->popupMenu()->actions().size(), 1);

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), picMap);
}

TEST_F(MainWindowTest, DrawsGreyLinesBlueSquareEdgesNamesAndCoast)
{
    const QImage image = screen();
    const int y = cellCentre(0, 0).y();
    // 149 + 3 is a primary-square edge: blue and three pixels wide.
    const int thick = columnOfLine(3);
    EXPECT_EQ(image.pixelColor(thick - 1, y), rgb(0, 0, 255));
    EXPECT_EQ(image.pixelColor(thick, y), rgb(0, 0, 255));
    EXPECT_EQ(image.pixelColor(thick + 1, y), rgb(0, 0, 255));
    EXPECT_NE(image.pixelColor(thick + 3, y), rgb(0, 0, 255));
    // 109 + 3 likewise for rows.
    EXPECT_EQ(image.pixelColor(cellCentre(0, 0).x(), rowOfLine(3)), rgb(0, 0, 255));

    const int thin = columnOfLine(1);
    EXPECT_EQ(image.pixelColor(thin, y), rgb(150, 150, 150));
    EXPECT_NE(image.pixelColor(thin + 2, y), rgb(150, 150, 150));
    EXPECT_EQ(image.pixelColor(cellCentre(0, 0).x(), rowOfLine(2)), rgb(150, 150, 150));

    // The surface's edges get no line; an empty cell shows the background.
    const QColor background = picMap->backgroundColour();
    EXPECT_EQ(image.pixelColor(0, y), background);
    EXPECT_EQ(image.pixelColor(picMap->width() - 1, y), background);
    EXPECT_EQ(image.pixelColor(cellCentre(0, 0)), background);

    // 533946 is map cell (158, 116): surface (9, 7). Its name starts near
    // the cell's left edge and hangs down from 0.6 of its height.
    const QPoint named = cellCentre(9, 7);
    EXPECT_TRUE(hasDarkPixel(image, QRect(named.x() - 20, named.y() - 10, 40, 20)));
    EXPECT_FALSE(hasDarkPixel(image, QRect(cellCentre(9, 9).x() - 20, cellCentre(9, 9).y() - 10, 40, 20)));

    // The coast runs along surface row 12 from column 1 to 6, nowhere else.
    const QPoint onCoast = cellCentre(3, 12);
    EXPECT_TRUE(hasDarkPixel(image, QRect(onCoast.x() - 5, onCoast.y() - 2, 10, 5)));
    EXPECT_FALSE(hasDarkPixel(image, QRect(onCoast.x() - 5, cellCentre(3, 11).y() - 5, 10, 10)));
    EXPECT_FALSE(hasDarkPixel(image, QRect(cellCentre(8, 12).x() - 5, onCoast.y() - 5, 10, 10)));
}

TEST_F(MainWindowTest, TwoClicksFillTheRangeGreenUnderTheMap)
{
    window->state().sheetName50.set(149 + 3, 109 + 8, QStringLiteral("中"));
    click(Qt::LeftButton, cellCentre(5, 7));
    EXPECT_EQ(window->state().selState, 1);
    click(Qt::LeftButton, cellCentre(2, 9));
    const MapState& s = window->state();
    EXPECT_EQ(s.selState, 2);
    EXPECT_EQ((QList<int>{s.selX1, s.selY1, s.selX2, s.selY2}), (QList<int>{2, 7, 6, 10}));

    const QImage image = screen();
    const QColor green = rgb(0, 255, 0);
    EXPECT_EQ(image.pixelColor(cellCentre(4, 8)), green);
    EXPECT_EQ(image.pixelColor(cellCentre(2, 7) + QPoint(-15, 10)), green);
    EXPECT_EQ(image.pixelColor(cellCentre(5, 9) + QPoint(15, -10)), green);
    EXPECT_NE(image.pixelColor(cellCentre(6, 8)), green);
    EXPECT_NE(image.pixelColor(cellCentre(1, 8)), green);
    EXPECT_NE(image.pixelColor(cellCentre(4, 10)), green);
    EXPECT_NE(image.pixelColor(cellCentre(4, 6)), green);

    // Lines and names lie over the fill.
    EXPECT_EQ(image.pixelColor(columnOfLine(3), cellCentre(3, 8).y()), rgb(0, 0, 255));
    EXPECT_EQ(image.pixelColor(columnOfLine(4), cellCentre(4, 8).y()), rgb(150, 150, 150));
    EXPECT_EQ(image.pixelColor(cellCentre(4, 8).x(), rowOfLine(8)), rgb(150, 150, 150));
    const QPoint named = cellCentre(3, 8);
    EXPECT_TRUE(hasDarkPixel(image, QRect(named.x() - 12, named.y() - 8, 24, 16)));
}

TEST_F(MainWindowTest, TheStartCellAndRubberBandStayOutOfTheKeptImage)
{
    click(Qt::LeftButton, cellCentre(5, 7));
    const QColor green = rgb(0, 255, 0);
    EXPECT_FALSE(picMap->autoRedraw());
    EXPECT_EQ(countColour(picMap->keptImage(), green), 0);
    // The start cell's thick outline shows on the screen.
    const int left = columnOfLine(5);
    EXPECT_EQ(screen().pixelColor(left, cellCentre(5, 7).y()), green);

    QTest::mouseMove(picMap, cellCentre(8, 9));
    QApplication::processEvents();
    const QImage band = screen();
    EXPECT_EQ(band.pixelColor(columnOfLine(9), cellCentre(8, 8).y()), green) << "right edge follows the pointer";
    EXPECT_EQ(band.pixelColor(cellCentre(7, 9).x(), rowOfLine(10)), green) << "top edge follows the pointer";
    EXPECT_NE(band.pixelColor(cellCentre(7, 8)), green) << "an outline, not a fill";
    EXPECT_EQ(countColour(picMap->keptImage(), green), 0);
    EXPECT_EQ(window->state().selX2, 6) << "moving never changes the range";

    // Moving back inside removes the larger band.
    QTest::mouseMove(picMap, cellCentre(5, 7));
    QApplication::processEvents();
    EXPECT_NE(screen().pixelColor(columnOfLine(9), cellCentre(8, 8).y()), green);
}

TEST_F(MainWindowTest, RightClickOpensThePopUpOnlyInsideTheRange)
{
    click(Qt::LeftButton, cellCentre(2, 2));
    click(Qt::LeftButton, cellCentre(4, 4));
    click(Qt::RightButton, cellCentre(6, 3));
    EXPECT_FALSE(window->popupMenu()->isVisible());
    click(Qt::RightButton, cellCentre(3, 3));
    EXPECT_TRUE(window->popupMenu()->isVisible());
    EXPECT_EQ(window->state().selState, 2);
}

TEST_F(MainWindowTest, ArrowKeysMoveTheMapAndTheRangeWithIt)
{
    click(Qt::LeftButton, cellCentre(4, 4));
    click(Qt::LeftButton, cellCentre(5, 5));
    QTest::keyClick(picMap, Qt::Key_Right);
    QTest::keyClick(picMap, Qt::Key_Up);
    const MapState& s = window->state();
    EXPECT_EQ(s.originX, 150);
    EXPECT_EQ(s.originY, 110);
    EXPECT_EQ((QList<int>{s.selX1, s.selY1, s.selX2, s.selY2}), (QList<int>{3, 3, 5, 5}));

    const QImage image = screen();
    const int y = cellCentre(0, 0).y();
    EXPECT_EQ(image.pixelColor(columnOfLine(2), y), rgb(0, 0, 255)) << "150 + 2 is the square edge now";
    EXPECT_NE(image.pixelColor(columnOfLine(3), y), rgb(0, 0, 255));
    EXPECT_EQ(image.pixelColor(cellCentre(3, 3)), rgb(0, 255, 0));
    EXPECT_NE(image.pixelColor(cellCentre(5, 5)), rgb(0, 255, 0));

    // A key while only a start cell is chosen drops it.
    click(Qt::LeftButton, cellCentre(8, 8));
    QTest::keyClick(picMap, Qt::Key_A);
    EXPECT_EQ(s.selState, 0);
    EXPECT_EQ(countColour(screen(), rgb(0, 255, 0)), 0);
}

TEST_F(MainWindowTest, ResizingRoundsCellsToEvenAndKeepsAChosenRange)
{
    click(Qt::LeftButton, cellCentre(0, 0));
    click(Qt::LeftButton, cellCentre(1, 1));
    const int menuHeight = window->height() - picMap->height();
    window->resize(300, 90 + menuHeight);
    QApplication::processEvents();
    ASSERT_EQ(picMap->height(), 90);
    EXPECT_EQ(window->state().viewRows, 2);
    EXPECT_EQ(window->state().viewCols, 7);
    EXPECT_EQ(window->state().selState, 2);
    EXPECT_EQ(screen().pixelColor(cellCentre(1, 1)), rgb(0, 255, 0));
}

TEST_F(MainWindowTest, KeepsItsLayerAtTheScreensDeviceRatio)
{
    const qreal ratio = picMap->devicePixelRatioF();
    RecordProperty("device_pixel_ratio", QString::number(ratio).toStdString());
    const QImage& kept = picMap->keptImage();
    EXPECT_EQ(kept.devicePixelRatio(), ratio);
    EXPECT_EQ(kept.size(), (QSizeF(picMap->size()) * ratio).toSize());
    // A thick line is three logical pixels wide whatever the ratio.
    const int row = int(cellCentre(0, 0).y() * ratio);
    int blue = 0;
    for (int x = 0; x < kept.width(); ++x)
        blue += kept.pixelColor(x, row) == rgb(0, 0, 255) ? 1 : 0;
    EXPECT_EQ(blue, 2 * qRound(3 * ratio)) << "two thick verticals at ratio " << ratio;
}

TEST(MainWindowStartUp, WarnsWhenNeitherIndexExistsAndShowsTheCodes)
{
    ScratchDirectory scratch;
    MessageRecorder messages;
    MainWindow window;
    window.Form_Load();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("ZUMEI.CSVファイルがありません。"));
    EXPECT_EQ(window.state().sheetName50.at(158, 116), QStringLiteral("533946"));
    EXPECT_EQ(window.state().coastCount, 0);
    EXPECT_EQ(window.state().originX, 149);
    EXPECT_EQ(window.state().bandColor[0], (std::array<std::int16_t, 3>{0, 250, 0}));
    EXPECT_EQ(window.state().bandColor[8], (std::array<std::int16_t, 3>{200, 200, 255}));
}

TEST_F(MainWindowTest, NamesUseAProportionalJapaneseGothicAtEightAndAQuarterPoints)
{
    const QFontInfo info(mapFont());
    RecordProperty("resolved_family", info.family().toStdString());
    const QStringList wanted{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                             QStringLiteral("Noto Sans CJK JP")};
    EXPECT_EQ(mapFont().families(), wanted);
    EXPECT_NEAR(mapFont().pointSizeF(), 8.25, 1e-9);
    EXPECT_TRUE(wanted.contains(info.family()))
        << info.family().toStdString();
    // Proportional: a narrow Latin letter is narrower than a wide one.
    const QFontMetrics metrics(mapFont());
    EXPECT_LT(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W'));
}

TEST_F(MainWindowTest, ExitClosesTheWindowInItsNormalState)
{
    window->showMaximized();
    QApplication::processEvents();
    action(window.get(), "mnuExit")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
}
