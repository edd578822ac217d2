// frmMain as the program starts it, in a scratch working folder with the
// 50 m index beside it, shown offscreen; and the notice shown before it while
// a first start prepares the working folder.
#include "app/main_window_ui.h"
#include "frontend_test.h"
#include "launch/preparation_notice_ui.h"
#include "launch/user_work_directory.h"
#include "launch/viewer_command.h"
#include "map/map_surface_ui.h"
#include "settings/settings_dialog_ui.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

const QColor kBlue(0, 0, 255), kGrey(150, 150, 150), kGreen(0, 255, 0);

class MainWindowTest : public ::testing::Test {
  protected:
    void start()
    {
        writeIn(scratch, "GSI50M/ZUMEI.CSV", shiftJisLines({"コード,図名", "533946,東京西北部"}));
        ASSERT_TRUE(QDir().mkdir("work") || QDir("work").exists());
        QDir::setCurrent("work");
        window.Form_Load();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // The map's pixel at a point in logical pixels, from the layers drawn at
    // the screen's device-pixel ratio: the overlay over the kept picture.
    QColor shown(int x, int y) const
    {
        const QPoint at(int(x * picMap->devicePixelRatioF()), int(y * picMap->devicePixelRatioF()));
        const QColor overlay = picMap->overlayImage().pixelColor(at);
        return overlay.alpha() ? overlay : picMap->keptImage().pixelColor(at);
    }
    QColor shown(QPoint at) const { return shown(at.x(), at.y()); }
    // The centre of surface cell (i, k) of the 14 x 14 cells in 615 x 486
    // pixels, and its grid lines to the left and below.
    static QPoint cell(int i, int k) { return QPoint(int((i + 0.5) * 615 / 14), int((13.5 - k) * 486 / 14)); }
    static int column(int i) { return qRound(i * 615 / 14.0); }
    static int row(int k) { return qRound((14 - k) * 486 / 14.0); }
    void click(Qt::MouseButton button, int i, int k) { QTest::mouseClick(picMap, button, {}, cell(i, k)); }

    testing_support::ScratchDir scratch{testing_support::ScratchDir::Enter::yes};
    MessageRecorder messages;
    MainWindow window;
    MapSurface* picMap = window.picMap();
};

} // namespace

TEST_F(MainWindowTest, ReadsItsFilesAtStartToWriteThemFromTheNormalWindowAtExit)
{
    const QByteArray settings = " 2  0 \r\n 1500  750  9000  6000 \r\n 1 \r\n\"a b\" \"c\"\r\n 20  14 \r\n";
    writeIn(scratch, "work/skyloom.env", settings);
    writeIn(scratch, "work/orvex.col", "2 0\r\n9\r\n" + QByteArray(" 5 5 5\r\n").repeated(8) + " 1 2 3\r\n");
    start();
    EXPECT_EQ(std::pair(window.pos(), window.size()), std::pair(QPoint(100, 50), QSize(600, 400)));
    EXPECT_EQ(std::tuple(window.state().meshFlag, window.state().dataDir50, window.state().originX),
              std::tuple(Mesh::gsi250, QString("a b"), 20));
    QFile::remove("skyloom.env"), QFile::remove("orvex.col");
    window.showMaximized();
    window.findChild<QAction*>("mnuExit")->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(readFile("skyloom.env").startsWith(settings)) << "the first lines as read";
    EXPECT_TRUE(readFile("orvex.col").endsWith(" 5  5  5 \r\n 1  2  3 \r\n"));
}

TEST_F(MainWindowTest, PaintsTheMapWithTheRangeAtTheScreensDeviceRatio)
{
    start();
    RecordProperty("device_pixel_ratio", QString::number(picMap->devicePixelRatioF()).toStdString());
    EXPECT_EQ(std::tuple(picMap->size(), window.state().viewCols, window.state().viewRows),
              std::tuple(QSize(615, 486), 14, 14));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), picMap) << "the arrow keys move the map";
    for (const QPoint p : {QPoint(0, cell(0, 0).y()), QPoint(614, cell(0, 0).y()), cell(0, 0)})
        EXPECT_EQ(shown(p), picMap->backgroundColour()) << "no line on the edges, nothing in empty cells";
    // The first click's band follows the pointer as an outline.
    click(Qt::LeftButton, 5, 7);
    QTest::mouseMove(picMap, cell(2, 9));
    EXPECT_EQ(std::pair(shown(column(2), cell(2, 8).y()), shown(cell(4, 8))),
              std::pair(kGreen, picMap->backgroundColour()));
    click(Qt::LeftButton, 2, 9);
    for (const QPoint inside : {cell(4, 8), cell(2, 7) + QPoint(-15, 10), cell(5, 9) + QPoint(15, -10)})
        EXPECT_EQ(shown(inside), kGreen);
    for (const QPoint outside : {cell(6, 8), cell(1, 8), cell(4, 10), cell(4, 6)})
        EXPECT_NE(shown(outside), kGreen);
    // Over the fill: 149 + 3 and 109 + 3 are primary-square edges, blue and
    // three pixels wide; the other lines grey and one pixel wide.
    const int y = cell(3, 8).y();
    EXPECT_EQ((QList<QColor>{shown(column(3) - 1, y), shown(column(3) + 1, y), shown(column(3) + 3, y),
                             shown(column(4), y), shown(column(4) + 2, y), shown(cell(4, 8).x(), row(8)),
                             shown(cell(0, 0).x(), row(3))}),
              (QList<QColor>{kBlue, kBlue, kGreen, kGrey, kGreen, kGrey, kBlue}));
    click(Qt::RightButton, 3, 8);
    EXPECT_TRUE(window.popupMenu()->isVisible());
    window.popupMenu()->hide();
    QTest::keyClick(picMap, Qt::Key_Right); // the range stays on its sheets
    EXPECT_EQ(std::tuple(shown(cell(1, 8)), shown(column(2), cell(0, 0).y())), std::tuple(kGreen, kBlue));
    // The settings dialog: modeless, open once, its OK redraws the map.
    window.findChild<QAction*>("mnuSetting")->trigger();
    window.findChild<QAction*>("mnuSetting")->trigger();
    QPointer<SettingsDialog> dialog = window.settingsDialog();
    ASSERT_TRUE(dialog && dialog->isVisible() && !QApplication::activeModalWidget());
    QTest::mouseClick(dialog->optMesh(Mesh::gsi250), Qt::LeftButton);
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isNull() || !dialog->isVisible());
    EXPECT_NE(shown(column(2), cell(0, 0).y()), kBlue) << "the 250 m map has no blue edges";
}

TEST_F(MainWindowTest, OkInTheSettingsLeavesTheMapDrawnAndTheRangeOnItsGround)
{
    writeIn(scratch, "GSI50M/DATA/5339/533946.MEM", "x"); // map cell (158, 116): surface (9, 7)
    start();
    window.finishScan();
    // Below the sheet names, in the lower part of a cell.
    auto low = [](int i, int k) { return cell(i, k) + QPoint(-15, 12); };
    EXPECT_EQ(std::pair(shown(low(9, 7)), shown(low(8, 7))),
              std::pair(QColor(255, 238, 190), picMap->backgroundColour()))
        << "the sheet with data is tinted";
    auto confirmSettings = [&](std::optional<Mesh> mesh) {
        window.findChild<QAction*>("mnuSetting")->trigger();
        if (mesh)
            QTest::mouseClick(window.settingsDialog()->optMesh(*mesh), Qt::LeftButton);
        QTest::mouseClick(window.settingsDialog()->cmdOK(), Qt::LeftButton);
    };
    // A start cell, OK, then the pointer over the map: the map stays.
    click(Qt::LeftButton, 5, 7);
    confirmSettings(std::nullopt);
    QTest::mouseMove(picMap, cell(8, 3));
    EXPECT_EQ(std::tuple(shown(cell(4, 0).x(), row(8)), shown(column(3) + 1, cell(0, 0).y())),
              std::tuple(kGrey, kBlue));
    click(Qt::LeftButton, 3, 3), click(Qt::LeftButton, 8, 6); // 6 x 4 sheets of square 5339
    EXPECT_EQ(window.state().selState, Selection::range);
    // To 250 m: the square that holds them, filled; F5 starts on it.
    confirmSettings(Mesh::gsi250);
    EXPECT_EQ(std::tuple(window.state().selState, shown(low(7, 7))), std::tuple(Selection::range, kGreen));
    EXPECT_EQ(viewerCommandLine(window.state()).mid(1),
              QStringList({"-gsi250", "../GSI250M", "5339", "1", "1"}));
    // The wheel and a middle drag move the map; the range stays on its square.
    QWheelEvent wheel(cell(3, 3), picMap->mapToGlobal(cell(3, 3)), {}, QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(picMap, &wheel);
    QTest::mousePress(picMap, Qt::MiddleButton, {}, cell(5, 5));
    QMouseEvent drag(QEvent::MouseMove, cell(7, 5), picMap->mapToGlobal(cell(7, 5)), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(picMap, &drag);
    QTest::mouseRelease(picMap, Qt::MiddleButton, {}, cell(7, 5));
    EXPECT_EQ(std::tuple(window.state().originX, window.state().originY, shown(low(9, 5))),
              std::tuple(10, 9, kGreen))
        << "wheel: 2 rows north; drag: 2 columns west";
}

TEST_F(MainWindowTest, OpensWithinTheScreenWhateverSizeWasSaved)
{
    writeIn(scratch, "work/skyloom.env", " 2 0\r\n 900000 -90000 120000 90000\r\n 0\r\n");
    start();
    const QRect available = window.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(window.geometry())) << available.width() << "x" << available.height();
}

TEST(PreparationNotice, IsAModalWindowWithTheNoticeWhileItLives)
{
    QPointer<QDialog> shown;
    {
        PreparationNotice notice;
        EXPECT_EQ(notice.window(), nullptr) << "nothing before the preparation calls it";
        notice.keepShown(), notice.keepShown();
        shown = notice.window();
        ASSERT_TRUE(shown && shown->isVisible() && shown->findChild<QLabel*>());
        EXPECT_EQ(QApplication::activeModalWidget(), shown.data());
        EXPECT_EQ(shown->windowTitle() + shown->findChild<QLabel*>()->text(),
                  QStringLiteral("Skyloom作業フォルダを準備しています。\nしばらくお待ちください。"));
    }
    EXPECT_TRUE(shown.isNull()) << "gone with the notice";
}
