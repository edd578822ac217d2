// The main window's files, the viewer start, the settings dialog and the
// help entries. The settings file, the colour file, the launcher, the dialog
// and the help texts are not written yet: these handlers keep the start-up
// and shut-down order and the menu wiring in place until they are.
#include "map/main_window_ui.h"

void MainWindow::ReadEnv()
{
    resetSettings(state_);
    // Not yet written: reading skyloom.env (geometry, mesh, directories, origin).
}

void MainWindow::ReadColor()
{
    ResetColor(state_);
    // Not yet written: reading orvex.col over the defaults.
}

void MainWindow::WriteEnv()
{
    // Not yet written: writing skyloom.env.
}

void MainWindow::WriteColor()
{
    // Not yet written: writing orvex.col.
}

void MainWindow::RunViewer()
{
    // Not yet written: checking for the viewer and the range, writing
    // orvex.col and starting orvex on the chosen sheets.
}

void MainWindow::mnuSetting_Click()
{
    // Not yet written: the settings dialog frmSetting.
}

void MainWindow::mnuManual_Click()
{
    // Not yet written: the map usage text.
}

void MainWindow::mnuUsage_Click()
{
    // Not yet written: the viewer's key usage.
}

void MainWindow::mnuReadme_Click()
{
    // Not yet written: opening readme.txt in a text editor.
}

void MainWindow::mnuVersion_Click()
{
    // Not yet written: the version box.
}
