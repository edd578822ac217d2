// The main window's files, the viewer start, the settings dialog and the
// help entries.
#include "app/main_window_ui.h"

#include "core/messages.h"
#include "map/map_surface_ui.h"
#include "settings/colour_file.h"
#include "settings/help_texts.h"
#include "settings/settings_dialog_ui.h"
#include "settings/settings_file.h"

#include <QDesktopServices>

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
            state_,
            [this] {
                picMap_->setAutoRedraw(true);
                picMap_->cls();
                reDraw();
            },
            this);
    }
    frmSetting_->show();
    frmSetting_->raise();
    frmSetting_->activateWindow();
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
