// frmMain as the program starts it, in a scratch working folder with both
// indexes beside it and a small coastline, shown offscreen.
#include "app/main_window_ui.h"
#include "core/map_font_ui.h"
#include "map/map_surface_ui.h"
#include "settings/help_texts.h"
#include "settings/settings_dialog_ui.h"
#include "test_files.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QColor kBlue(0, 0, 255);
const QColor kGrey(150, 150, 150);
const QColor kGreen(0, 255, 0);

// Records the URLs the desktop is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        scratch.write("GSI50M/ZUMEI.CSV", shiftJisLines({"コード,図名", "533946,東京西北部"}));
        scratch.write("GSI250M/ZUMEI.CSV", shiftJisLines({"code,name", "5339,東京"}));
        // Through the middle of surface row 12, from column 1 to column 6.
        scratch.write("work/JapanCoast.txt", "2\r\n138.75,36.125\r\n139.375,36.125\r\n");
        QDir::setCurrent("work");
    }
    void start()
    {
        window = std::make_unique<MainWindow>();
        window->Form_Load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        picMap = window->picMap();
    }
    void TearDown() override
    {
        if (window)
            window->popupMenu()->hide();
    }

    // Pixels of the centre of surface cell (i, k) and of the grid lines of
    // the 14 x 14 cells of 615 x 486 pixels.
    static QPoint cell(int i, int k) { return QPoint(int((i + 0.5) * 615 / 14), int((13.5 - k) * 486 / 14)); }
    static int column(int i) { return qRound(i * 615 / 14.0); }
    static int row(int k) { return qRound((14 - k) * 486 / 14.0); }

    QColor shown(int x, int y) const { return picMap->grab().toImage().pixelColor(x, y); }
    QColor shown(QPoint at) const { return shown(at.x(), at.y()); }
    void click(Qt::MouseButton button, QPoint at) { QTest::mouseClick(picMap, button, Qt::NoModifier, at); }
    void trigger(const char* action) { window->findChild<QAction*>(action)->trigger(); }

    // Pixels of the image in the box that pass the test.
    static int count(const QImage& image, QRect box, const std::function<bool(QColor)>& test)
    {
        int found = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                found += test(image.pixelColor(x, y)) ? 1 : 0;
        return found;
    }
    // Whether a pixel around the point is dark, as text and coast are.
    bool darkNear(QPoint at, int dx, int dy) const
    {
        return count(picMap->grab().toImage(), QRect(at - QPoint(dx, dy), at + QPoint(dx, dy)),
                     [](QColor c) { return qGray(c.rgb()) < 90; }) > 0;
    }
    int keptPixels(QColor colour) const
    {
        return count(picMap->keptImage(), picMap->keptImage().rect(), [&](QColor c) { return c == colour; });
    }

    ScratchDirectory scratch;
    MessageRecorder messages;
    std::unique_ptr<MainWindow> window;
    MapSurface* picMap = nullptr;
};

} // namespace

TEST_F(MainWindowTest, OpensWithItsMenusAndAFocusedFourteenByFourteenMap)
{
    start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Skyloom"));
    EXPECT_EQ(picMap->size(), QSize(615, 486));
    EXPECT_EQ(window->state().viewCols, 14);
    EXPECT_EQ(window->state().viewRows, 14);
    EXPECT_TRUE(messages.shown.empty());

    QStringList captions;
    for (QAction* menu : window->menuBar()->actions()) {
        captions << menu->text();
        for (QAction* entry : menu->menu()->actions())
            captions << entry->objectName() + u' ' + entry->text();
    }
    EXPECT_EQ(captions, (QStringList{"ファイル(&F)", "mnuExit 終了(&X)", "設定(&S)", "mnuSetting 設定(&S)...",
                                     "実行(&G)", "mnuGo 描画(&G)", "ヘルプ(&H)", "mnuManual 使用法(&M)",
                                     "mnuUsage 描画使用法(&P)", "mnuReadme READMEを開く(&R)",
                                     "mnuVersion バージョン(&V)"}));
    EXPECT_EQ(window->findChild<QAction*>("mnuGo")->shortcut(), QKeySequence(Qt::Key_F5));
    ASSERT_EQ(window->popupMenu()->actions().size(), 1);
    EXPECT_EQ(window->popupMenu()->actions()[0]->text(), QStringLiteral("描画"));

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), picMap);
}

TEST_F(MainWindowTest, StartUpReadsBothFilesAndExitWritesThemFromTheNormalWindow)
{
    const QByteArray settings = " 2  0 \r\n 1500  750  9000  6000 \r\n 1 \r\n\"a b\" \"c\"\r\n 20  14 \r\n";
    scratch.write("work/skyloom.env", settings);
    scratch.write("work/orvex.col", "2 0\r\n9\r\n" + QByteArray(" 5 5 5\r\n").repeated(8) + " 1 2 3\r\n");
    start();
    const MapState& state = window->state();
    EXPECT_EQ(window->geometryTwips(), QRect(1500, 750, 9000, 6000));
    EXPECT_EQ(window->size(), QSize(600, 400));
    EXPECT_EQ(state.meshFlag, Mesh::gsi250);
    EXPECT_EQ(state.dataDir50, QStringLiteral("a b"));
    EXPECT_EQ(state.originX, 20);
    EXPECT_EQ(state.bandColor[8], (std::array<std::int16_t, 3>{1, 2, 3}));
    EXPECT_EQ(state.defaultBandColor[8], (std::array<std::int16_t, 3>{200, 200, 255}));

    QFile::remove("skyloom.env");
    QFile::remove("orvex.col");
    window->showMaximized();
    trigger("mnuExit");
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(readFile("skyloom.env"), settings);
    EXPECT_TRUE(readFile("orvex.col").endsWith(" 5  5  5 \r\n 1  2  3 \r\n"))
        << readFile("orvex.col").constData();
}

TEST_F(MainWindowTest, KeepsItsLayerAtTheScreensDeviceRatioInAJapaneseGothic)
{
    start();
    const qreal ratio = picMap->devicePixelRatioF();
    RecordProperty("device_pixel_ratio", QString::number(ratio).toStdString());
    EXPECT_EQ(picMap->keptImage().devicePixelRatio(), ratio);
    EXPECT_EQ(picMap->keptImage().size(), (QSizeF(picMap->size()) * ratio).toSize());
    // Two thick verticals across a row of cells, three logical pixels each.
    const QImage& kept = picMap->keptImage();
    EXPECT_EQ(count(kept, QRect(0, int(cell(0, 0).y() * ratio), kept.width(), 1),
                    [](QColor c) { return c == kBlue; }),
              2 * qRound(3 * ratio));

    const QStringList wanted{"ＭＳ Ｐゴシック", "IPAPGothic", "Noto Sans CJK JP"};
    EXPECT_EQ(mapFont().families(), wanted);
    EXPECT_DOUBLE_EQ(mapFont().pointSizeF(), 8.25);
    EXPECT_TRUE(wanted.contains(QFontInfo(mapFont()).family()))
        << QFontInfo(mapFont()).family().toStdString();
}

TEST_F(MainWindowTest, PaintsTheMapWithTheStartCellAndBandOverItAndTheRangeUnderIt)
{
    start();
    window->state().sheetName50.set(149 + 3, 109 + 8, QStringLiteral("中"));
    // 533946 is surface cell (9, 7); the coast crosses row 12, columns 1 to 6.
    EXPECT_TRUE(darkNear(cell(9, 7), 20, 8));
    EXPECT_FALSE(darkNear(cell(9, 9), 20, 8));
    EXPECT_TRUE(darkNear(cell(3, 12), 5, 2));
    EXPECT_FALSE(darkNear(cell(3, 11), 5, 5));
    EXPECT_FALSE(darkNear(cell(8, 12), 5, 5));
    // No line on the surface's edges; empty cells show the background.
    for (const QPoint p : {QPoint(0, cell(0, 0).y()), QPoint(614, cell(0, 0).y()), cell(0, 0)})
        EXPECT_EQ(shown(p), picMap->backgroundColour());

    click(Qt::LeftButton, cell(5, 7));
    EXPECT_EQ(shown(column(5), cell(5, 7).y()), kGreen);
    QTest::mouseMove(picMap, cell(2, 9));
    EXPECT_EQ(shown(column(2), cell(2, 8).y()), kGreen) << "the band's left edge";
    EXPECT_EQ(shown(cell(3, 9).x(), row(10)), kGreen) << "the band's top edge";
    EXPECT_NE(shown(cell(4, 8)), kGreen) << "an outline, not a fill";
    EXPECT_EQ(keptPixels(kGreen), 0) << "the overlay only";

    click(Qt::LeftButton, cell(2, 9));
    const MapState& s = window->state();
    EXPECT_EQ((QList<int>{int(s.selState), s.selX1, s.selY1, s.selX2, s.selY2}),
              (QList<int>{2, 2, 7, 6, 10}));
    for (const QPoint inside : {cell(4, 8), cell(2, 7) + QPoint(-15, 10), cell(5, 9) + QPoint(15, -10)})
        EXPECT_EQ(shown(inside), kGreen);
    for (const QPoint outside : {cell(6, 8), cell(1, 8), cell(4, 10), cell(4, 6)})
        EXPECT_NE(shown(outside), kGreen);
    // Over the fill: 149 + 3 is a primary-square edge, blue and three pixels
    // wide; the other lines grey and one pixel wide; the name.
    for (int dx : {-1, 0, 1})
        EXPECT_EQ(shown(column(3) + dx, cell(3, 8).y()), kBlue) << dx;
    EXPECT_EQ(shown(column(3) + 3, cell(3, 8).y()), kGreen);
    EXPECT_EQ(shown(column(4), cell(4, 8).y()), kGrey);
    EXPECT_EQ(shown(column(4) + 2, cell(4, 8).y()), kGreen);
    EXPECT_EQ(shown(cell(4, 8).x(), row(8)), kGrey);
    EXPECT_EQ(shown(cell(0, 0).x(), row(3)), kBlue) << "109 + 3 is one too";
    EXPECT_TRUE(darkNear(cell(3, 8), 12, 8));

    click(Qt::RightButton, cell(7, 8));
    EXPECT_FALSE(window->popupMenu()->isVisible());
    click(Qt::RightButton, cell(3, 8));
    EXPECT_TRUE(window->popupMenu()->isVisible());
    window->popupMenu()->hide();

    // An arrow key moves the map a cell; the range stays on its sheets.
    QTest::keyClick(picMap, Qt::Key_Right);
    EXPECT_EQ(window->state().originX, 150);
    EXPECT_EQ(shown(cell(1, 8)), kGreen);
    EXPECT_NE(shown(cell(5, 8)), kGreen);
    EXPECT_EQ(shown(column(2), cell(0, 0).y()), kBlue) << "150 + 2 is the square edge now";
}

TEST_F(MainWindowTest, TheDialogIsModelessOpensOnceAndItsOkRedrawsTheMapInTheNewMesh)
{
    start();
    EXPECT_GT(keptPixels(kBlue), 0) << "50 m squares have blue edges";
    trigger("mnuSetting");
    QPointer<SettingsDialog> dialog = window->settingsDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    dialog->txtDir(Mesh::gsi50)->setText("edited");
    trigger("mnuSetting");
    EXPECT_EQ(window->settingsDialog(), dialog.data());
    EXPECT_EQ(dialog->txtDir(Mesh::gsi50)->text(), QStringLiteral("edited")) << "not loaded again";

    QTest::keyClick(picMap, Qt::Key_Right); // the map works while the dialog is open
    QTest::mouseClick(dialog->optMesh(Mesh::gsi250), Qt::LeftButton);
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(window->state().meshFlag, Mesh::gsi250);
    EXPECT_EQ(window->state().originX, 12); // round(157 / 8 truncated - 7) over 14 columns
    EXPECT_EQ(window->state().dataDir50, QStringLiteral("edited"));
    EXPECT_EQ(keptPixels(kBlue), 0) << "the 250 m map has no blue edges";

    trigger("mnuSetting");
    ASSERT_TRUE(window->settingsDialog());
    EXPECT_TRUE(window->settingsDialog()->optMesh(Mesh::gsi250)->isChecked());
}

TEST_F(MainWindowTest, HelpEntriesSpeakThroughMessagesAndTheDesktop)
{
    start();
    const std::pair<const char*, QString> help[] = {{"mnuManual", joinedLines(mapUsageLines())},
                                                    {"mnuUsage", joinedLines(viewerUsageLines())},
                                                    {"mnuVersion", joinedLines(versionLines())}};
    for (const auto& [entry, text] : help) {
        messages.shown.clear();
        trigger(entry);
        ASSERT_EQ(messages.shown.size(), 1u) << entry;
        EXPECT_EQ(messages.shown[0].text, text) << entry;
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information) << entry;
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok) << entry;
        EXPECT_EQ(messages.shown[0].fixedPitch, std::string(entry) == "mnuUsage")
            << "its keys line up in columns";
    }

    UrlRecorder desktop;
    QDesktopServices::setUrlHandler("file", &desktop, "open");
    messages.shown.clear();
    trigger("mnuReadme");
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_EQ(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(scratch.path() + "/work/readme.txt")});
    EXPECT_TRUE(messages.shown.empty());
}

#include "core/map_font_ui.h"
#include "main_window_ui_test.moc"

using namespace skyloom;
