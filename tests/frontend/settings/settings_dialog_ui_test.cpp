#include "settings/settings_dialog_ui.h"
#include "test_files.h"

#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace skyloom;

namespace {

using Band = std::array<std::int16_t, 3>;

// frmSetting over a state of a 20 x 14 map at the default origin.
class SettingsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        SetDefaultColor(state);
        ResetColor(state);
        open();
    }
    void TearDown() override { delete dialog.data(); }

    void open()
    {
        dialog = new SettingsDialog(
            state, [this] { ++redraws; }, nullptr);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
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
    // Presses 変更... of a band and answers the chooser as soon as it is up,
    // noting where it started.
    void chooseColour(int band, std::optional<QColor> choice)
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
        QTest::mouseClick(dialog->cmdEdit(band), Qt::LeftButton);
    }

    MapState state = viewOf(20, 14);
    QPointer<SettingsDialog> dialog;
    int redraws = 0;
    MessageRecorder messages;
    QColor chooserStart;
};

} // namespace

TEST_F(SettingsDialogTest, OkStoresTheMeshDirectoriesAndColoursAndRedrawsTheMap)
{
    EXPECT_FALSE(dialog->isModal());
    EXPECT_FALSE(dialog->txtDir(Mesh::gsi250)->isEnabled());
    QTest::mouseClick(dialog->optMesh(Mesh::gsi250), Qt::LeftButton);
    EXPECT_TRUE(dialog->txtDir(Mesh::gsi250)->isEnabled());
    EXPECT_FALSE(dialog->txtDir(Mesh::gsi50)->isEnabled());
    dialog->txtDir(Mesh::gsi250)->clear();
    QTest::keyClicks(dialog->txtDir(Mesh::gsi250), "../My \"GSI\" 250");

    // The chooser starts from its own default, then from its last choice,
    // never from the swatch; its cancel keeps the swatch.
    chooseColour(7, std::nullopt);
    EXPECT_EQ(chooserStart, QColor(Qt::black));
    EXPECT_EQ(shownSwatch(7), QColor(0, 0, 255));
    chooseColour(7, QColor(10, 20, 30));
    EXPECT_EQ(shownSwatch(7), QColor(10, 20, 30));
    chooseColour(5, std::nullopt);
    EXPECT_EQ(chooserStart, QColor(10, 20, 30));
    EXPECT_EQ(dialog->swatch(5), swatchOfBand(state.defaultBandColor[5]));
    EXPECT_EQ(state.bandColor[7], (Band{0, 0, 255})) << "nothing changes before OK";

    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(gone());
    EXPECT_EQ(state.meshFlag, Mesh::gsi250);
    EXPECT_EQ(std::make_pair(state.originX, state.originY), std::make_pair(9, 7));
    EXPECT_EQ(state.dataDir250, QStringLiteral("../My GSI 250"));
    EXPECT_EQ(state.dataDir50, QStringLiteral("../GSI50M"));
    EXPECT_EQ(state.bandColor[7], (Band{10, 20, 30}));
    EXPECT_EQ(state.bandColor[5], state.defaultBandColor[5]);
}

TEST_F(SettingsDialogTest, CancelAndEveryOtherCloseDropAllChanges)
{
    const MapState before = state;
    for (const int close : {0, 1, 2}) {
        QTest::mouseClick(dialog->optMesh(Mesh::gsi250), Qt::LeftButton);
        dialog->txtDir(Mesh::gsi250)->setText("elsewhere");
        chooseColour(0, QColor(1, 2, 3));
        ASSERT_EQ(dialog->swatch(0), 0x030201);
        if (close == 0)
            QTest::mouseClick(dialog->cmdCancel(), Qt::LeftButton);
        else if (close == 1)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close(); // the window's close box
        EXPECT_TRUE(gone()) << close;
        EXPECT_EQ(state.meshFlag, before.meshFlag) << close;
        EXPECT_EQ(state.originX, before.originX) << close;
        EXPECT_EQ(state.dataDir250, before.dataDir250) << close;
        EXPECT_EQ(state.bandColor, before.bandColor) << close;
        EXPECT_EQ(redraws, 0) << close;
        open();
    }
}

TEST_F(SettingsDialogTest, ResetAsksFirstAndReachesTheColoursOnlyThroughOk)
{
    state.bandColor[2] = {1, 1, 1};
    state.bandColor[8] = {300, -4, 7}; // as a file may hold them
    delete dialog.data();
    open();
    EXPECT_EQ(dialog->swatch(8), 255 + 7 * 65536) << "clamped per channel";

    messages.answer = MessageAnswer::Cancel;
    QTest::mouseClick(dialog->cmdInit(), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("色をすべて初期化します。"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(dialog->swatch(2), 0x010101);

    messages.answer = MessageAnswer::Ok;
    QTest::mouseClick(dialog->cmdInit(), Qt::LeftButton);
    EXPECT_EQ(dialog->swatch(2), swatchOfBand(state.defaultBandColor[2]));
    EXPECT_EQ(state.bandColor[2], (Band{1, 1, 1}));
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    EXPECT_EQ(state.bandColor, state.defaultBandColor);
}
