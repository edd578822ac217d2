// frmMain with its settings: files read at start and written at close, the
// settings dialog opened from the menu, and the Help menu.
#include "map/main_window_ui.h"
#include "map/map_surface_ui.h"
#include "settings/help_texts.h"
#include "settings/settings_dialog_ui.h"
#include "test_files.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Records the URLs the desktop is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class MainWindowSettingsTest : public ::testing::Test {
protected:
    void start()
    {
        window = std::make_unique<MainWindow>();
        window->Form_Load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void trigger(const char* action) { window->findChild<QAction*>(action)->trigger(); }
    QByteArray read(const QString& name) const
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int bluePixels() const
    {
        const QImage& kept = window->picMap()->keptImage();
        int blue = 0;
        for (int y = 0; y < kept.height(); y += 3)
            for (int x = 0; x < kept.width(); ++x)
                blue += kept.pixelColor(x, y) == QColor(0, 0, 255) ? 1 : 0;
        return blue;
    }

    ScratchDirectory scratch;
    MessageRecorder messages;
    std::unique_ptr<MainWindow> window;
};

} // namespace

TEST_F(MainWindowSettingsTest, StartUpReadsBothFilesAndClosingWritesThem)
{
    scratch.write("skyloom.env", " 2  0 \r\n 1500  750  9000  6000 \r\n 1 \r\n\"a b\" \"c\"\r\n 20  14 \r\n");
    scratch.write("orvex.col", "2 0\r\n9\r\n" + QByteArray(" 5 5 5\r\n").repeated(8) + " 1 2 3\r\n");
    start();
    const MapState& state = window->state();
    EXPECT_EQ(window->geometryTwips(), QRect(1500, 750, 9000, 6000));
    EXPECT_EQ(state.meshFlag, kMesh250);
    EXPECT_EQ(state.dataDir50, QStringLiteral("a b"));
    EXPECT_EQ(state.originX, 20);
    EXPECT_EQ(state.bandColor[8], (std::array<std::int16_t, 3>{1, 2, 3}));
    EXPECT_EQ(state.defaultBandColor[8], (std::array<std::int16_t, 3>{200, 200, 255}));

    QFile::remove("skyloom.env");
    QFile::remove("orvex.col");
    window->close();
    EXPECT_EQ(read("skyloom.env"), " 2  0 \r\n 1500  750  9000  6000 \r\n 1 \r\n\"a b\" \"c\"\r\n 20  14 \r\n");
    EXPECT_TRUE(read("orvex.col").endsWith(" 5  5  5 \r\n 1  2  3 \r\n")) << read("orvex.col").constData();
}

TEST_F(MainWindowSettingsTest, TheDialogIsModelessOpensOnceAndItsOkRedrawsTheMapInTheNewMesh)
{
    start();
    EXPECT_GT(bluePixels(), 0) << "50 m squares have blue edges";
    trigger("mnuSetting");
    QPointer<SettingsDialog> dialog = window->settingsDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    dialog->txtDir(0)->setText("edited");
    trigger("mnuSetting");
    EXPECT_EQ(window->settingsDialog(), dialog.data());
    EXPECT_EQ(dialog->txtDir(0)->text(), QStringLiteral("edited")) << "not loaded again";

    // The map works while the dialog is open.
    QTest::keyClick(window->picMap(), Qt::Key_Right);
    EXPECT_EQ(window->state().originX, 150);

    QTest::mouseClick(dialog->optMesh(1), Qt::LeftButton);
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(window->state().meshFlag, kMesh250);
    EXPECT_EQ(window->state().originX, 12); // round(157 / 8 truncated - 7) over 14 columns
    EXPECT_EQ(window->state().dataDir50, QStringLiteral("edited"));
    EXPECT_EQ(bluePixels(), 0) << "the 250 m map has no blue edges";

    trigger("mnuSetting");
    ASSERT_TRUE(window->settingsDialog());
    EXPECT_NE(window->settingsDialog(), dialog.data());
    EXPECT_TRUE(window->settingsDialog()->optMesh(1)->isChecked());
}

TEST_F(MainWindowSettingsTest, HelpEntriesSpeakThroughMessagesAndTheDesktop)
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
        EXPECT_EQ(messages.shown[0].fixedPitch, std::string(entry) == "mnuUsage") << "its keys line up in columns";
    }

    UrlRecorder desktop;
    QDesktopServices::setUrlHandler("file", &desktop, "open");
    messages.shown.clear();
    trigger("mnuReadme");
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_EQ(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(scratch.path() + "/readme.txt")});
    EXPECT_TRUE(messages.shown.empty());
}

#include "main_window_settings_ui_test.moc"
