// The main window's files, the viewer start, the settings dialog and the
// help entries.
#include "app/main_window_ui.h"

#include "core/messages.h"
#include "map/map_surface_ui.h"
#include "settings/colour_file.h"
#include "settings/help_texts.h"
#include "settings/settings_dialog_ui.h"
#include "settings/settings_file.h"

#include "core/data_sets.h"

#include <QDesktopServices>
#include <QInputDialog>
#include <QLineEdit>

namespace skyloom {

void MainWindow::ReadEnv()
{
    if (const std::optional<QRect> geometry = skyloom::ReadEnv(state_))
        setGeometryTwips(*geometry);
}

void MainWindow::ReadColor()
{
    skyloom::ReadColor(state_);
}

SaveResult MainWindow::WriteEnv()
{
    return skyloom::WriteEnv(state_, geometryTwips());
}

SaveResult MainWindow::WriteColor()
{
    return skyloom::WriteColor(state_);
}

void MainWindow::RunViewer()
{
    launcher_.RunViewer(state_);
}

SettingsDialog* MainWindow::settingsDialog() const
{
    return frmSetting_.data();
}

void MainWindow::mnuSetting_Click()
{
    // Open already: brought to the front, its contents as they are.
    if (!frmSetting_) {
        frmSetting_ = new SettingsDialog(
            state_, [this] { settingsConfirmed(); }, this);
    }
    frmSetting_->show();
    frmSetting_->raise();
    frmSetting_->activateWindow();
}

void MainWindow::mnuMove_Click()
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(this, QStringLiteral("移動"),
                              QStringLiteral("図葉コード(533946 など)または緯度,経度(35.36,138.73 など):"),
                              QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return;
    const std::optional<GroundPoint> place = parsePlace(text);
    if (!place) {
        showMessage({QStringLiteral("場所を読み取れません。"), MessageIcon::Warning});
        return;
    }
    centreViewOn(state_, *place);
    interaction_.RefreshMap();
}

void MainWindow::mnuManual_Click()
{
    showMessage({joinedLines(mapUsageLines()), MessageIcon::Information});
}

void MainWindow::mnuUsage_Click()
{
    Message usage{joinedLines(viewerUsageLines()), MessageIcon::Information};
    usage.fixedPitch = true; // the keys are padded to 17 columns
    showMessage(usage);
}

void MainWindow::mnuReadme_Click()
{
    // The desktop's default application for text files stands in for an
    // editor; whether the file exists is its concern.
    if (!QDesktopServices::openUrl(readmeUrl()))
        showMessage({readmeFailureText(), MessageIcon::Warning});
}

void MainWindow::mnuVersion_Click()
{
    showMessage({joinedLines(versionLines()), MessageIcon::Information});
}

} // namespace skyloom
