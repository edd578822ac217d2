// frmSetting over a 20 x 14 map at the default origin: only OK gives its
// working copy back.
#include "frontend_test.h"
#include "settings/settings_dialog_ui.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Band = std::array<std::int16_t, 3>;

class SettingsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        SetDefaultColor(state), ResetColor(state);
        state.bandColor[8] = {300, -4, 7}; // as a file may hold them
        dialog = new SettingsDialog(
            state, [this] { ++redraws; }, nullptr);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    }
    void TearDown() override { delete dialog.data(); }

    // Whether the dialog has closed and gone.
    bool gone()
    {
        return QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete), dialog.isNull();
    }
    // Presses 変更... of a band and answers the chooser as soon as it is up,
    // noting where it started.
    void chooseColour(int band, std::optional<QColor> choice)
    {
        QTimer::singleShot(0, dialog, [this, choice] {
            chooserStart = dialog->cdlColor()->currentColor();
            dialog->cdlColor()->setCurrentColor(choice.value_or(Qt::white));
            choice ? dialog->cdlColor()->accept() : dialog->cdlColor()->reject();
        });
        QTest::mouseClick(dialog->cmdEdit(band), Qt::LeftButton);
    }
    // The edits that every way of closing but OK drops.
    void edit()
    {
        QTest::mouseClick(dialog->optMesh(Mesh::gsi250), Qt::LeftButton);
        dialog->txtDir(Mesh::gsi250)->setText("../My \"GSI\" 250");
        chooseColour(7, QColor(10, 20, 30));
    }

    MapState state = viewOf(20, 14);
    QPointer<SettingsDialog> dialog;
    int redraws = 0;
    MessageRecorder messages;
    QColor chooserStart;
};

} // namespace

TEST_F(SettingsDialogTest, OkStoresTheMeshDirectoriesWithColoursThenRedrawsTheMap)
{
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->swatch(8), 255 + 7 * 65536) << "clamped per channel";
    EXPECT_FALSE(dialog->txtDir(Mesh::gsi250)->isEnabled());
    edit();
    EXPECT_FALSE(dialog->txtDir(Mesh::gsi50)->isEnabled());
    EXPECT_EQ(dialog->lblColor(7)->palette().color(QPalette::Window), QColor(10, 20, 30));
    // The chooser starts from its last choice, never from the swatch; its
    // cancel keeps the swatch.
    chooseColour(5, std::nullopt);
    EXPECT_EQ(chooserStart, QColor(10, 20, 30));
    EXPECT_EQ(state.bandColor[7], (Band{0, 0, 255})) << "nothing changes before OK";
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    EXPECT_TRUE(gone());
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(std::tuple(state.meshFlag, state.originX, state.originY, state.dataDir50, state.dataDir250),
              std::tuple(Mesh::gsi250, 9, 7, QString("../GSI50M"), QString("../My GSI 250")));
    EXPECT_EQ(std::tuple(state.bandColor[5], state.bandColor[7], state.bandColor[8]),
              std::tuple(state.defaultBandColor[5], Band{10, 20, 30}, Band{255, 0, 7}));
}

TEST_F(SettingsDialogTest, EveryCloseButOkDropsAllChanges)
{
    const MapState before = state;
    const std::function<void()> closes[] = {
        [this] { QTest::mouseClick(dialog->cmdCancel(), Qt::LeftButton); },
        [this] { QTest::keyClick(dialog, Qt::Key_Escape); },
        [this] { dialog->close(); }}; // the window's close box
    for (const auto& close : closes) {
        edit();
        close();
        EXPECT_TRUE(gone());
        EXPECT_EQ(std::tuple(state.meshFlag, state.originX, state.dataDir250, state.bandColor, redraws),
                  std::tuple(before.meshFlag, before.originX, before.dataDir250, before.bandColor, 0));
        SetUp();
    }
}

TEST_F(SettingsDialogTest, ResetAsksFirstThenReachesTheColoursOnlyThroughOk)
{
    messages.answer = MessageAnswer::Cancel;
    QTest::mouseClick(dialog->cmdInit(), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{"色をすべて初期化します。"});
    EXPECT_EQ(std::pair(messages.shown[0].icon, messages.shown[0].buttons),
              std::pair(MessageIcon::Question, MessageButtons::OkCancel));
    EXPECT_EQ(dialog->swatch(8), 255 + 7 * 65536);
    messages.answer = MessageAnswer::Ok;
    QTest::mouseClick(dialog->cmdInit(), Qt::LeftButton);
    EXPECT_EQ(std::pair(dialog->swatch(8), state.bandColor[8]),
              std::pair(swatchOfBand(state.defaultBandColor[8]), Band{300, -4, 7}));
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    EXPECT_EQ(state.bandColor, state.defaultBandColor);
}

TEST_F(SettingsDialogTest, EachDataSetHasItsFolderWithBrowseAndMissingFoldersAreNamedOnOk)
{
    testing_support::ScratchDir scratch(testing_support::ScratchDir::Enter::yes);
    ASSERT_TRUE(QDir().mkpath("work") && QDir().mkpath("SRTM3") && QDir::setCurrent("work"));
    QTest::mouseClick(dialog->optMesh(Mesh::srtm), Qt::LeftButton);
    EXPECT_EQ(std::tuple(dialog->txtDir(Mesh::srtm)->isEnabled(), dialog->txtSrtm30()->isEnabled(),
                         dialog->cmdBrowse(kSrtm30Row)->isEnabled(),
                         dialog->txtDir(Mesh::dem10)->isEnabled()),
              std::tuple(true, true, true, false));
    // 参照... puts the chosen folder in, relative to the working folder.
    QTimer::singleShot(0, dialog, [] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(chooser);
        chooser->setDirectory(QDir::current().absoluteFilePath("../SRTM3"));
        static_cast<QDialog*>(chooser)->accept();
    });
    QTest::mouseClick(dialog->cmdBrowse(static_cast<int>(Mesh::srtm)), Qt::LeftButton);
    EXPECT_EQ(dialog->txtDir(Mesh::srtm)->text(), "../SRTM3");
    // The chosen folder exists; the edited 10 m one and SRTM30 do not.
    dialog->txtDir(Mesh::dem10)->setText("../none");
    messages.answer = MessageAnswer::Cancel;
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{"次のフォルダがありません。\n../none\nこのまま設定しますか?"})
        << "the unedited SRTM30 folder is not checked";
    EXPECT_FALSE(gone()) << "back to the dialog";
    messages.answer = MessageAnswer::Ok;
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    EXPECT_TRUE(gone());
    EXPECT_EQ(std::tuple(state.meshFlag, state.dataDirSrtm, state.dataDir10, state.dataDirSrtm30),
              std::tuple(Mesh::srtm, QString("../SRTM3"), QString("../none"), QString("../SRTM30")));
}
