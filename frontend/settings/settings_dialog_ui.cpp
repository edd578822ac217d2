#include "settings/settings_dialog_ui.h"

#include "core/map_font_ui.h"
#include "core/messages.h"
#include "settings/settings_file.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace skyloom {

namespace {

int px(double twips)
{
    return qRound(twips / kTwipsPerPixel);
}

QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

QColor colourOfSwatch(SwatchValue value)
{
    return QColor(value & 255, value >> 8 & 255, value >> 16 & 255);
}

SwatchValue swatchOfColour(const QColor& colour)
{
    return colour.red() | colour.green() << 8 | colour.blue() << 16;
}

// Design height of a swatch, and the rows' pitch of 1.3 times it.
constexpr double kSwatchTop = 480;
constexpr double kSwatchHeight = 405;
constexpr double kRowPitch = 1.3 * kSwatchHeight;

} // namespace

SettingsDialog::SettingsDialog(MapState& state, std::function<void()> mapRedraw, QWidget* parent)
    : QDialog(parent), state_(state), mapRedraw_(std::move(mapRedraw))
{
    setObjectName(QStringLiteral("frmSetting"));
    setWindowTitle(QStringLiteral("設定"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(px(8400), px(5775));
    // The design's sizes fit a small proportional Gothic, as the map's.
    setFont(mapFont());
    buildColourFrame();
    buildMeshFrame();
    buildButtons();
    cdlColor_ = new QColorDialog(this);
    cdlColor_->setObjectName(QStringLiteral("cdlColor"));
    // The same chooser on every desktop, and one that tests can answer.
    cdlColor_->setOption(QColorDialog::DontUseNativeDialog);
    Form_Load();
}

void SettingsDialog::buildColourFrame()
{
    fraColor_ = new QGroupBox(QStringLiteral("色"), this);
    fraColor_->setObjectName(QStringLiteral("fraColor"));
    fraColor_->setGeometry(twipsRect(240, 240, 3135, 5295));
    auto* lblRGB = new QLabel(QStringLiteral("色"), fraColor_);
    lblRGB->setObjectName(QStringLiteral("lblRGB"));
    lblRGB->move(px(1440), px(240));
    lblRGB->adjustSize();

    // Row 0 as designed; rows 1 to 8 follow in Form_Load.
    lblH_[0] = new QLabel(fraColor_);
    lblH_[0]->move(px(240), px(600));
    lblColor_[0] = new QLabel(fraColor_);
    lblColor_[0]->setGeometry(twipsRect(1200, kSwatchTop, 735, kSwatchHeight));
    cmdEdit_[0] = new QPushButton(QStringLiteral("変更..."), fraColor_);
    cmdEdit_[0]->setGeometry(twipsRect(2040, 480, 855, kSwatchHeight));
}

namespace {

// The data sets' rows: caption and top in the frame.
struct MeshRow {
    const char* caption;
    double top;
};
constexpr MeshRow kMeshRows[kDataSetCount + 1] = {
    {"50m", 600},           {"250m", 960},         {"10m(基盤地図)", 1320},
    {"5m(基盤地図)", 1680}, {"SRTM/ラスタ", 2040}, {"SRTM30(穴埋め)", 2400}};
constexpr double kOptionLeft = 240, kOptionWidth = 1800;
constexpr double kFolderLeft = 2100, kFolderWidth = 1500;
constexpr double kBrowseLeft = 3660, kBrowseWidth = 720;

} // namespace

void SettingsDialog::buildMeshFrame()
{
    fraMesh_ = new QGroupBox(QStringLiteral("DEMデータ"), this);
    fraMesh_->setObjectName(QStringLiteral("fraMesh"));
    fraMesh_->setGeometry(twipsRect(3600, 240, 4560, 2910));
    auto* lblDir = new QLabel(QStringLiteral("フォルダ(相対パス)"), fraMesh_);
    lblDir->setObjectName(QStringLiteral("lblDir"));
    lblDir->move(px(kFolderLeft), px(360));
    lblDir->adjustSize();

    for (int row = 0; row <= kDataSetCount; ++row) {
        const MeshRow& design = kMeshRows[row];
        QLineEdit* directory = new QLineEdit(fraMesh_);
        directory->setGeometry(twipsRect(kFolderLeft, design.top, kFolderWidth, 270));
        if (row < kDataSetCount) {
            const Mesh mesh = kDialogMeshes[std::size_t(row)];
            QRadioButton*& option = optMesh_[std::size_t(row)];
            option = new QRadioButton(QString::fromUtf8(design.caption), fraMesh_);
            option->setObjectName(QStringLiteral("optMesh%1").arg(row));
            option->setGeometry(twipsRect(kOptionLeft, design.top, kOptionWidth, 255));
            // As wide as its caption, so that a click anywhere on it counts.
            option->resize(std::min(option->sizeHint().width(), option->width()), option->height());
            connect(option, &QRadioButton::clicked, this, [this, mesh] { optMesh_Click(mesh); });
            directory->setObjectName(QStringLiteral("txtDir%1").arg(row));
            txtDir_[std::size_t(row)] = directory;
        } else {
            auto* label = new QLabel(QString::fromUtf8(design.caption), fraMesh_);
            label->setObjectName(QStringLiteral("lblSrtm30"));
            label->setGeometry(twipsRect(kOptionLeft + 300, design.top, kOptionWidth - 300, 255));
            directory->setObjectName(QStringLiteral("txtSrtm30"));
            txtSrtm30_ = directory;
        }
        auto* browse = new QPushButton(QStringLiteral("参照..."), fraMesh_);
        browse->setObjectName(QStringLiteral("cmdBrowse%1").arg(row));
        browse->setGeometry(twipsRect(kBrowseLeft, design.top - 15, kBrowseWidth, 300));
        browse->setAutoDefault(false);
        connect(browse, &QPushButton::clicked, this, [this, row] { cmdBrowse_Click(row); });
        cmdBrowse_[std::size_t(row)] = browse;
    }
}

void SettingsDialog::buildButtons()
{
    auto button = [this](const char* name, const QString& caption, double top,
                         void (SettingsDialog::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(twipsRect(4320, top, 1215, 495));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    cmdOK_ = button("cmdOK", QStringLiteral("OK"), 3480, &SettingsDialog::cmdOK_Click);
    cmdCancel_ = button("cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"), 4200, &SettingsDialog::cmdCancel_Click);
    cmdInit_ = button("cmdInit", QStringLiteral("初期化(&I)"), 4920, &SettingsDialog::cmdInit_Click);
    cmdInit_->setToolTip(QStringLiteral("色をすべて初期化します。"));
}

void SettingsDialog::Form_Load()
{
    lblH_[0]->setText(bandName(0));
    lblH_[0]->adjustSize();
    for (int band = 1; band < kBandCount; ++band) {
        // Each row one pitch below the last, with row 0's sizes and font;
        // the pitch keeps its half twips until the pixels are placed.
        const int top = px(kSwatchTop + band * kRowPitch);
        const int step = top - lblColor_[band - 1]->y();
        lblH_[band] = new QLabel(bandName(band), fraColor_);
        lblH_[band]->setFont(lblH_[0]->font());
        lblH_[band]->move(lblH_[band - 1]->x(), lblH_[band - 1]->y() + step);
        lblH_[band]->adjustSize();
        lblColor_[band] = new QLabel(fraColor_);
        lblColor_[band]->setGeometry(lblColor_[band - 1]->geometry().translated(0, step));
        cmdEdit_[band] = new QPushButton(cmdEdit_[0]->text(), fraColor_);
        cmdEdit_[band]->setGeometry(cmdEdit_[band - 1]->geometry().translated(0, step));
    }
    for (int band = 0; band < kBandCount; ++band) {
        lblH_[band]->setObjectName(QStringLiteral("lblH%1").arg(band));
        lblColor_[band]->setObjectName(QStringLiteral("lblColor%1").arg(band));
        lblColor_[band]->setAutoFillBackground(true);
        lblColor_[band]->setFrameShape(QFrame::Panel);
        lblColor_[band]->setFrameShadow(QFrame::Sunken);
        cmdEdit_[band]->setObjectName(QStringLiteral("cmdEdit%1").arg(band));
        cmdEdit_[band]->setAutoDefault(false);
        connect(cmdEdit_[band], &QPushButton::clicked, this, [this, band] { cmdEdit_Click(band); });
    }
    LoadDialog();
}

void SettingsDialog::setSwatch(int band, SwatchValue value)
{
    swatches_.at(band) = value;
    QPalette palette = lblColor_[band]->palette();
    palette.setColor(QPalette::Window, colourOfSwatch(value));
    lblColor_[band]->setPalette(palette);
}

void SettingsDialog::LoadDialog()
{
    const SettingDraft draft = skyloom::LoadDialog(state_);
    for (int band = 0; band < kBandCount; ++band)
        setSwatch(band, draft.swatches[band]);
    optMesh(draft.mesh)->setChecked(true);
    optMesh_Click(draft.mesh);
    for (const Mesh mesh : kDialogMeshes)
        txtDir(mesh)->setText(draft.dirs[static_cast<std::size_t>(mesh)]);
    txtSrtm30_->setText(draft.srtm30Dir);
}

SettingDraft SettingsDialog::draft() const
{
    SettingDraft draft;
    draft.swatches = swatches_;
    draft.mesh = Mesh::gsi50;
    for (const Mesh mesh : kDialogMeshes) {
        if (optMesh(mesh)->isChecked())
            draft.mesh = mesh;
        draft.dirs[static_cast<std::size_t>(mesh)] = txtDir(mesh)->text();
    }
    draft.srtm30Dir = txtSrtm30_->text();
    return draft;
}

void SettingsDialog::StoreDialog()
{
    skyloom::StoreDialog(draft(), state_);
}

void SettingsDialog::optMesh_Click(Mesh chosen)
{
    for (const Mesh mesh : kDialogMeshes) {
        txtDir(mesh)->setEnabled(mesh == chosen);
        cmdBrowse(static_cast<int>(mesh))->setEnabled(mesh == chosen);
    }
    txtSrtm30_->setEnabled(chosen == Mesh::srtm);
    cmdBrowse(kSrtm30Row)->setEnabled(chosen == Mesh::srtm);
}

QLineEdit* SettingsDialog::folderField(int row) const
{
    return row == kSrtm30Row ? txtSrtm30_ : txtDir_.at(std::size_t(row));
}

void SettingsDialog::cmdBrowse_Click(int row)
{
    QLineEdit* field = folderField(row);
    const QString start = QDir(field->text()).exists() ? field->text() : QDir::currentPath();
    const QString chosen = QFileDialog::getExistingDirectory(this, QStringLiteral("フォルダの選択"), start);
    if (chosen.isEmpty())
        return; // cancelled
    // Inside the working folder as a relative path, as the field is typed.
    const QString relative = QDir::current().relativeFilePath(chosen);
    field->setText(relative.startsWith(QStringLiteral("../../..")) ? QDir::cleanPath(chosen) : relative);
}

bool SettingsDialog::foldersAccepted(const SettingDraft& draft) const
{
    // The chosen data set's folder, and any folder edited here.
    const SettingDraft before = skyloom::LoadDialog(state_);
    QStringList missing;
    auto check = [&missing](const QString& folder, bool wanted) {
        if (wanted && !QFileInfo(QString(folder).remove(u'"')).isDir() && !missing.contains(folder))
            missing << folder;
    };
    for (const Mesh mesh : kDialogMeshes) {
        const std::size_t i = static_cast<std::size_t>(mesh);
        check(draft.dirs[i], mesh == draft.mesh || draft.dirs[i] != before.dirs[i]);
    }
    check(draft.srtm30Dir, draft.srtm30Dir != before.srtm30Dir);
    if (missing.isEmpty())
        return true;
    const Message warning{QStringLiteral("次のフォルダがありません。\n") + missing.join(u'\n') +
                              QStringLiteral("\nこのまま設定しますか?"),
                          MessageIcon::Warning, MessageButtons::OkCancel};
    return showMessage(warning) == MessageAnswer::Ok;
}

void SettingsDialog::cmdOK_Click()
{
    if (!foldersAccepted(draft()))
        return;
    StoreDialog();
    const std::function<void()> redraw = mapRedraw_;
    close();
    if (redraw)
        redraw();
}

void SettingsDialog::cmdCancel_Click()
{
    close();
}

void SettingsDialog::cmdEdit_Click(int index)
{
    cdlColor_->setCurrentColor(lastChosen_);
    if (cdlColor_->exec() != QDialog::Accepted)
        return; // cancelled: the swatch keeps its colour
    lastChosen_ = cdlColor_->selectedColor();
    setSwatch(index, swatchOfColour(lastChosen_));
}

void SettingsDialog::cmdInit_Click()
{
    const Message question{QStringLiteral("色をすべて初期化します。"), MessageIcon::Question,
                           MessageButtons::OkCancel};
    if (showMessage(question) != MessageAnswer::Ok)
        return;
    for (int band = 0; band < kBandCount; ++band)
        setSwatch(band, swatchOfBand(state_.defaultBandColor[band]));
}

} // namespace skyloom
