#include "settings/settings_dialog_ui.h"
#include "test_files.h"

#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Band = std::array<std::int16_t, 3>;

// frmSetting over a state of a 20 x 14 map at the default origin, with
// every message answered by a chosen button.
class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaultColor(state);
        ResetColor(state);
        state.viewCols = 20;
        state.viewRows = 14;
        previous = installMessagePresenter([this](const Message& message) {
            asked.push_back(message);
            return answer;
        });
        dialog = new SettingsDialog(state, [this] { ++redraws; }, nullptr);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    }

    void TearDown() override
    {
        delete dialog.data();
        installMessagePresenter(previous);
    }

    // Whether the dialog has closed and gone.
    bool gone()
    {
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }

    QColor shownSwatch(int band) const
    {
        QLabel* swatch = dialog->lblColor(band);
        return swatch->grab().toImage().pixelColor(swatch->width() / 2, swatch->height() / 2);
    }

    // Answers the colour chooser as soon as it is up; notes where it started.
    void answerChooser(std::optional<QColor> choice)
    {
        QTimer::singleShot(0, dialog, [this, choice] {
            QColorDialog* chooser = dialog->cdlColor();
            ASSERT_TRUE(chooser->isVisible());
            chooserStart = chooser->currentColor();
            if (choice) {
                chooser->setCurrentColor(*choice);
                chooser->accept();
            } else {
                chooser->reject();
            }
        });
    }

    MapState state;
    QPointer<SettingsDialog> dialog;
    int redraws = 0;
    MessageAnswer answer = MessageAnswer::Ok;
    std::vector<Message> asked;
    MessagePresenter previous;
    QColor chooserStart;
};

} // namespace

TEST_F(SettingsDialogTest, ItsControlsAndNineColourRowsAtTheDesignedPitch)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("設定"));
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->size(), QSize(432, 385)); // 6480 x 5775 twips
    EXPECT_EQ(dialog->findChild<QGroupBox*>("fraColor")->title(), QStringLiteral("色"));
    EXPECT_EQ(dialog->findChild<QGroupBox*>("fraMesh")->title(), QStringLiteral("DEMデータ"));
    EXPECT_EQ(dialog->findChild<QLabel*>("lblDir")->text(), QStringLiteral("フォルダ(相対パス)"));
    EXPECT_EQ(dialog->optMesh(0)->text(), QStringLiteral("50m"));
    EXPECT_EQ(dialog->optMesh(1)->text(), QStringLiteral("250m"));
    EXPECT_EQ(dialog->cmdOK()->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog->cmdCancel()->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_EQ(dialog->cmdInit()->text(), QStringLiteral("初期化(&I)"));
    EXPECT_EQ(dialog->cmdInit()->toolTip(), QStringLiteral("色をすべて初期化します。"));

    // Rows 526.5 twips apart: pixel tops 32, 67, 102, 137, 172, 208, 243, 278, 313.
    const int tops[kBandCount] = {32, 67, 102, 137, 172, 208, 243, 278, 313};
    for (int band = 0; band < kBandCount; ++band) {
        EXPECT_EQ(dialog->lblH(band)->text(), bandName(band));
        EXPECT_EQ(dialog->lblColor(band)->geometry(), QRect(80, tops[band], 49, 27)) << band;
        EXPECT_EQ(dialog->cmdEdit(band)->geometry(), QRect(136, tops[band], 57, 27)) << band;
        EXPECT_EQ(dialog->cmdEdit(band)->text(), QStringLiteral("変更..."));
        EXPECT_EQ(dialog->lblH(band)->y() - dialog->lblH(0)->y(), tops[band] - tops[0]) << band;
        EXPECT_EQ(dialog->lblH(band)->x(), 16);
    }

    // First start: 50 m chosen, its directory editable, the other not.
    EXPECT_TRUE(dialog->optMesh(0)->isChecked());
    EXPECT_TRUE(dialog->txtDir(0)->isEnabled());
    EXPECT_FALSE(dialog->txtDir(1)->isEnabled());
    EXPECT_EQ(dialog->txtDir(0)->text(), QStringLiteral("../GSI50M"));
    EXPECT_EQ(dialog->txtDir(1)->text(), QStringLiteral("../GSI250M"));
    EXPECT_EQ(shownSwatch(0), QColor(0, 250, 0));
    EXPECT_EQ(shownSwatch(8), QColor(200, 200, 255));
}

TEST_F(SettingsDialogTest, OkStoresTheMeshDirectoriesAndColoursAndRedrawsTheMap)
{
    QTest::mouseClick(dialog->optMesh(1), Qt::LeftButton);
    EXPECT_TRUE(dialog->txtDir(1)->isEnabled());
    EXPECT_FALSE(dialog->txtDir(0)->isEnabled());
    dialog->txtDir(1)->clear();
    QTest::keyClicks(dialog->txtDir(1), "../My \"GSI\" 250");
    answerChooser(QColor(10, 20, 30));
    QTest::mouseClick(dialog->cmdEdit(7), Qt::LeftButton);
    EXPECT_EQ(dialog->swatch(7), 10 + 20 * 256 + 30 * 65536);
    EXPECT_EQ(state.bandColor[7], (Band{0, 0, 255})) << "nothing changes before OK";

    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(gone());
    EXPECT_EQ(state.meshFlag, kMesh250);
    EXPECT_EQ(state.originX, 9);
    EXPECT_EQ(state.originY, 7);
    EXPECT_EQ(state.dataDir250, QStringLiteral("../My GSI 250"));
    EXPECT_EQ(state.dataDir50, QStringLiteral("../GSI50M"));
    EXPECT_EQ(state.bandColor[7], (Band{10, 20, 30}));
    EXPECT_EQ(state.bandColor[6], state.defaultBandColor[6]);
}

TEST_F(SettingsDialogTest, CancelAndEveryOtherCloseDropAllChanges)
{
    const MapState before = state;
    auto changeEverything = [this] {
        QTest::mouseClick(dialog->optMesh(1), Qt::LeftButton);
        dialog->txtDir(1)->setText("elsewhere");
        answerChooser(QColor(1, 2, 3));
        QTest::mouseClick(dialog->cmdEdit(0), Qt::LeftButton);
        ASSERT_EQ(dialog->swatch(0), 0x030201);
    };
    auto unchanged = [&] {
        EXPECT_EQ(state.meshFlag, before.meshFlag);
        EXPECT_EQ(state.originX, before.originX);
        EXPECT_EQ(state.dataDir250, before.dataDir250);
        EXPECT_EQ(state.bandColor, before.bandColor);
        EXPECT_EQ(redraws, 0);
    };

    changeEverything();
    QTest::mouseClick(dialog->cmdCancel(), Qt::LeftButton);
    EXPECT_TRUE(gone());
    unchanged();

    for (const bool byEscape : {true, false}) {
        dialog = new SettingsDialog(state, [this] { ++redraws; }, nullptr);
        dialog->show();
        changeEverything();
        if (byEscape)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close(); // the window's close box
        EXPECT_TRUE(gone()) << byEscape;
        unchanged();
    }
}

TEST_F(SettingsDialogTest, ResetAsksFirstAndReachesTheColoursOnlyThroughOk)
{
    state.bandColor[2] = {1, 1, 1};
    state.bandColor[8] = {300, -4, 7}; // as a file may hold them
    delete dialog.data();
    dialog = new SettingsDialog(state, [this] { ++redraws; }, nullptr);
    EXPECT_EQ(dialog->swatch(8), 255 + 7 * 65536) << "clamped per channel";

    answer = MessageAnswer::Cancel;
    QTest::mouseClick(dialog->cmdInit(), Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, QStringLiteral("色をすべて初期化します。"));
    EXPECT_EQ(asked[0].icon, MessageIcon::Question);
    EXPECT_EQ(asked[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(dialog->swatch(2), 0x010101);

    answer = MessageAnswer::Ok;
    QTest::mouseClick(dialog->cmdInit(), Qt::LeftButton);
    EXPECT_EQ(dialog->swatch(2), swatchOfBand(state.defaultBandColor[2]));
    EXPECT_EQ(state.bandColor[2], (Band{1, 1, 1}));
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    EXPECT_EQ(state.bandColor, state.defaultBandColor);
}

TEST_F(SettingsDialogTest, TheChooserStartsFromItsLastChoiceAndItsCancelKeepsTheSwatch)
{
    answerChooser(std::nullopt);
    QTest::mouseClick(dialog->cmdEdit(3), Qt::LeftButton);
    EXPECT_EQ(dialog->swatch(3), swatchOfBand(state.bandColor[3]));
    EXPECT_EQ(chooserStart, QColor(Qt::black)) << "the chooser's own default, not the swatch";

    answerChooser(QColor(200, 100, 50));
    QTest::mouseClick(dialog->cmdEdit(3), Qt::LeftButton);
    EXPECT_EQ(dialog->swatch(3), 200 + 100 * 256 + 50 * 65536);
    EXPECT_EQ(shownSwatch(3), QColor(200, 100, 50));

    answerChooser(std::nullopt);
    QTest::mouseClick(dialog->cmdEdit(5), Qt::LeftButton);
    EXPECT_EQ(chooserStart, QColor(200, 100, 50));
    EXPECT_EQ(dialog->swatch(5), swatchOfBand(state.bandColor[5]));
}
