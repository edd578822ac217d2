#pragma once
// frmSetting, the modeless settings dialog: nine colour rows, the mesh and
// its data directories, OK, cancel and the colour reset. Its controls are a
// working copy of the settings that only OK gives back; cancel and every
// other way of closing drop it.

#include "settings/setting_draft.h"

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>

class QColorDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace skyloom {

// The dialog's controls of each data set, in the order of their numbers.
inline constexpr std::array<Mesh, kDataSetCount> kDialogMeshes{Mesh::gsi50, Mesh::gsi250, Mesh::dem10,
                                                               Mesh::dem5, Mesh::srtm};
// The SRTM30 folder's row follows the data sets' rows.
inline constexpr int kSrtm30Row = kDataSetCount;

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    // mapRedraw draws the map again after OK. The dialog deletes itself when
    // it closes.
    SettingsDialog(MapState& state, std::function<void()> mapRedraw, QWidget* parent);

    QLabel* lblH(int band) const { return lblH_.at(band); }
    QLabel* lblColor(int band) const { return lblColor_.at(band); }
    QPushButton* cmdEdit(int band) const { return cmdEdit_.at(band); }
    QRadioButton* optMesh(Mesh mesh) const { return optMesh_.at(static_cast<std::size_t>(mesh)); }
    QLineEdit* txtDir(Mesh mesh) const { return txtDir_.at(static_cast<std::size_t>(mesh)); }
    QLineEdit* txtSrtm30() const { return txtSrtm30_; }
    // 参照... beside each folder: a data set's, or kSrtm30Row.
    QPushButton* cmdBrowse(int row) const { return cmdBrowse_.at(static_cast<std::size_t>(row)); }
    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }
    QPushButton* cmdInit() const { return cmdInit_; }
    QColorDialog* cdlColor() const { return cdlColor_; }
    SwatchValue swatch(int band) const { return swatches_.at(band); }

    void optMesh_Click(Mesh chosen);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdEdit_Click(int index);
    void cmdInit_Click();
    void cmdBrowse_Click(int row);

  private:
    void buildColourFrame();
    void buildMeshFrame();
    void buildButtons();
    void Form_Load();
    void LoadDialog();
    void StoreDialog();
    void setSwatch(int band, SwatchValue value);
    SettingDraft draft() const;
    QLineEdit* folderField(int row) const;
    // Whether OK may go on: folders that do not exist are named, and the
    // user keeps them or goes back.
    bool foldersAccepted(const SettingDraft& draft) const;

    MapState& state_;
    std::function<void()> mapRedraw_;
    QGroupBox* fraColor_ = nullptr;
    QGroupBox* fraMesh_ = nullptr;
    std::array<QLabel*, kBandCount> lblH_{};
    std::array<QLabel*, kBandCount> lblColor_{};
    std::array<QPushButton*, kBandCount> cmdEdit_{};
    std::array<SwatchValue, kBandCount> swatches_{};
    std::array<QRadioButton*, kDataSetCount> optMesh_{};
    std::array<QLineEdit*, kDataSetCount> txtDir_{};
    QLineEdit* txtSrtm30_ = nullptr;
    std::array<QPushButton*, kDataSetCount + 1> cmdBrowse_{};
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdInit_ = nullptr;
    QColorDialog* cdlColor_ = nullptr;
    // Where the chooser starts: the colour last chosen in it while this
    // dialog is open (black, the chooser's own default, at first).
    QColor lastChosen_{Qt::black};
};

} // namespace skyloom
