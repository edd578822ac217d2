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

const QColor kBlue(0, 0, 255);
const QColor kGrey(150, 150, 150);
const QColor kGreen(0, 255, 0);

// frmMain started as the program starts it, in a scratch working folder with
// both indexes beside it and a small coastline, shown offscreen.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scratch.write("GSI50M/ZUMEI.CSV", shiftJisLines({"コード,図名", "533946,東京西北部"}));
        scratch.write("GSI250M/ZUMEI.CSV", shiftJisLines({"code,name", "5339,東京"}));
        // Through the middle of surface row 12, from column 1 to column 6.
        scratch.write("work/JapanCoast.txt", "2\r\n138.75,36.125\r\n139.375,36.125\r\n");
        QDir::setCurrent("work");
        window = std::make_unique<MainWindow>();
        window->Form_Load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        picMap = window->picMap();
    }

    void TearDown() override { window->popupMenu()->hide(); }

    // Pixels of the centre of surface cell (i, k) and of the grid lines.
    QPoint cell(int i, int k) const
    {
        const MapState& s = window->state();
        return QPoint(int((i + 0.5) * picMap->width() / s.viewCols),
                      int((s.viewRows - k - 0.5) * picMap->height() / s.viewRows));
    }
    int column(int i) const { return qRound(double(i) * picMap->width() / window->state().viewCols); }
    int row(int k) const
    {
        const MapState& s = window->state();
        return qRound(double(s.viewRows - k) * picMap->height() / s.viewRows);
    }

    QColor shown(QPoint at) const { return picMap->grab().toImage().pixelColor(at); }
    QColor shown(int x, int y) const { return shown(QPoint(x, y)); }
    void click(Qt::MouseButton button, QPoint at) { QTest::mouseClick(picMap, button, Qt::NoModifier, at); }

    // Whether a pixel around the point is dark, as text and coast are.
    bool darkNear(QPoint at, int dx, int dy) const
    {
        const QImage image = picMap->grab().toImage();
        for (int y = at.y() - dy; y <= at.y() + dy; ++y)
            for (int x = at.x() - dx; x <= at.x() + dx; ++x)
                if (qGray(image.pixel(x, y)) < 90)
                    return true;
        return false;
    }

    ScratchDirectory scratch;
    MessageRecorder messages;
    std::unique_ptr<MainWindow> window;
    MapSurface* picMap = nullptr;
};

} // namespace

TEST_F(MainWindowTest, OpensWithItsMenusAndAFocusedFourteenByFourteenMapAndExitsNormal)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Skyloom"));
    EXPECT_EQ(picMap->size(), QSize(615, 486));
    EXPECT_EQ(window->geometryTwips().width(), 9225); // 15 twips a pixel
    EXPECT_EQ(window->state().viewCols, 14);
    EXPECT_EQ(window->state().viewRows, 14);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(window->state().bandColor[8], (std::array<std::int16_t, 3>{200, 200, 255}));

    QStringList menus;
    for (QAction* a : window->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"ファイル(&F)", "設定(&S)", "実行(&G)", "ヘルプ(&H)"}));
    const std::pair<const char*, const char*> entries[] = {
        {"mnuExit", "終了(&X)"},         {"mnuSetting", "設定(&S)..."},         {"mnuGo", "描画(&G)"},
        {"mnuManual", "使用法(&M)"},     {"mnuUsage", "描画使用法(&P)"},        {"mnuReadme", "READMEを開く(&R)"},
        {"mnuVersion", "バージョン(&V)"}, {"mnuGo2", "描画"}};
    for (const auto& [name, caption] : entries) {
        const QAction* entry = window->findChild<QAction*>(name);
        ASSERT_TRUE(entry) << name;
        EXPECT_EQ(entry->text(), QString::fromUtf8(caption));
    }
    EXPECT_EQ(window->findChild<QAction*>("mnuGo")->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(window->popupMenu()->actions().size(), 1);

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), picMap);

    window->setGeometryTwips(QRect(1500, 750, 9000, 6000));
    EXPECT_EQ(window->geometryTwips(), QRect(1500, 750, 9000, 6000));
    EXPECT_EQ(window->size(), QSize(600, 400));

    // Exit first puts the window back into its normal state.
    window->showMaximized();
    window->findChild<QAction*>("mnuExit")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
}

TEST_F(MainWindowTest, PaintsGreyLinesBlueSquareEdgesNamesAndCoast)
{
    const int y = cell(0, 0).y();
    // 149 + 3 and 109 + 3 are primary-square edges: blue, three pixels wide.
    for (int dx : {-1, 0, 1})
        EXPECT_EQ(shown(column(3) + dx, y), kBlue) << dx;
    EXPECT_NE(shown(column(3) + 3, y), kBlue);
    EXPECT_EQ(shown(cell(0, 0).x(), row(3)), kBlue);
    EXPECT_EQ(shown(column(1), y), kGrey);
    EXPECT_NE(shown(column(1) + 2, y), kGrey);
    EXPECT_EQ(shown(cell(0, 0).x(), row(2)), kGrey);
    // No line on the surface's edges; empty cells show the background.
    for (const QPoint p : {QPoint(0, y), QPoint(picMap->width() - 1, y), cell(0, 0)})
        EXPECT_EQ(shown(p), picMap->backgroundColour());

    // 533946 is surface cell (9, 7); the coast crosses row 12, columns 1 to 6.
    EXPECT_TRUE(darkNear(cell(9, 7), 20, 8));
    EXPECT_FALSE(darkNear(cell(9, 9), 20, 8));
    EXPECT_TRUE(darkNear(cell(3, 12), 5, 2));
    EXPECT_FALSE(darkNear(cell(3, 11), 5, 5));
    EXPECT_FALSE(darkNear(cell(8, 12), 5, 5));
}

TEST_F(MainWindowTest, TwoClicksFillTheRangeUnderTheMapAndRightClickOpensThePopUp)
{
    window->state().sheetName50.set(149 + 3, 109 + 8, QStringLiteral("中"));
    click(Qt::LeftButton, cell(5, 7));
    click(Qt::LeftButton, cell(2, 9));
    const MapState& s = window->state();
    EXPECT_EQ((QList<int>{s.selState, s.selX1, s.selY1, s.selX2, s.selY2}), (QList<int>{2, 2, 7, 6, 10}));

    EXPECT_EQ(shown(cell(4, 8)), kGreen);
    EXPECT_EQ(shown(cell(2, 7) + QPoint(-15, 10)), kGreen);
    EXPECT_EQ(shown(cell(5, 9) + QPoint(15, -10)), kGreen);
    for (const QPoint outside : {cell(6, 8), cell(1, 8), cell(4, 10), cell(4, 6)})
        EXPECT_NE(shown(outside), kGreen);
    // Lines and names lie over the fill.
    EXPECT_EQ(shown(column(3), cell(3, 8).y()), kBlue);
    EXPECT_EQ(shown(column(4), cell(4, 8).y()), kGrey);
    EXPECT_EQ(shown(cell(4, 8).x(), row(8)), kGrey);
    EXPECT_TRUE(darkNear(cell(3, 8), 12, 8));

    click(Qt::RightButton, cell(7, 8));
    EXPECT_FALSE(window->popupMenu()->isVisible());
    click(Qt::RightButton, cell(3, 8));
    EXPECT_TRUE(window->popupMenu()->isVisible());
}

TEST_F(MainWindowTest, TheStartCellAndRubberBandStayOutOfTheKeptImageUntilAKey)
{
    auto greenInKeptImage = [this] {
        const QImage& kept = picMap->keptImage();
        for (int y = 0; y < kept.height(); ++y)
            for (int x = 0; x < kept.width(); ++x)
                if (kept.pixelColor(x, y) == kGreen)
                    return true;
        return false;
    };
    click(Qt::LeftButton, cell(5, 7));
    EXPECT_EQ(shown(column(5), cell(5, 7).y()), kGreen);
    QTest::mouseMove(picMap, cell(8, 9));
    EXPECT_EQ(shown(column(9), cell(8, 8).y()), kGreen) << "the band's right edge";
    EXPECT_EQ(shown(cell(7, 9).x(), row(10)), kGreen) << "the band's top edge";
    EXPECT_NE(shown(cell(7, 8)), kGreen) << "an outline, not a fill";
    EXPECT_FALSE(greenInKeptImage());

    QTest::mouseMove(picMap, cell(5, 7));
    EXPECT_NE(shown(column(9), cell(8, 8).y()), kGreen) << "the larger band is gone";
    EXPECT_EQ(window->state().selX2, 6);

    // An arrow key moves the map a cell and drops the start cell.
    QTest::keyClick(picMap, Qt::Key_Right);
    EXPECT_EQ(window->state().originX, 150);
    EXPECT_EQ(window->state().selState, 0);
    EXPECT_NE(shown(column(5), cell(5, 7).y()), kGreen);
    EXPECT_EQ(shown(column(2), cell(0, 0).y()), kBlue) << "150 + 2 is the square edge now";
}

TEST_F(MainWindowTest, KeepsItsLayerAtTheScreensDeviceRatioInAJapaneseGothic)
{
    const qreal ratio = picMap->devicePixelRatioF();
    RecordProperty("device_pixel_ratio", QString::number(ratio).toStdString());
    const QImage& kept = picMap->keptImage();
    EXPECT_EQ(kept.devicePixelRatio(), ratio);
    EXPECT_EQ(kept.size(), (QSizeF(picMap->size()) * ratio).toSize());
    // Two thick verticals, each three logical pixels wide whatever the ratio.
    const int y = int(cell(0, 0).y() * ratio);
    int blue = 0;
    for (int x = 0; x < kept.width(); ++x)
        blue += kept.pixelColor(x, y) == kBlue ? 1 : 0;
    EXPECT_EQ(blue, 2 * qRound(3 * ratio));

    const QStringList wanted{"ＭＳ Ｐゴシック", "IPAPGothic", "Noto Sans CJK JP"};
    EXPECT_EQ(mapFont().families(), wanted);
    EXPECT_DOUBLE_EQ(mapFont().pointSizeF(), 8.25);
    EXPECT_TRUE(wanted.contains(QFontInfo(mapFont()).family())) << QFontInfo(mapFont()).family().toStdString();
}
