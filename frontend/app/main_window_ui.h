#pragma once
// frmMain, skyloom's one window: the menus, picMap filling the client area,
// and the start-up, resize and shut-down steps around the map state.

#include "core/data_scan.h"
#include "core/map_state.h"
#include "core/saved_file.h"
#include "launch/viewer_launcher.h"
#include "map/map_interaction.h"
#include "settings/settings_file.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>

class QAction;
class QLabel;
class QMenu;

namespace skyloom {

class MapSurface;
class SettingsDialog;

inline constexpr int kDefaultClientWidthTwips = 9225;
inline constexpr int kDefaultClientHeightTwips = 7290;
// Pixels kept free for the window's frame (twice it for the title bar).
inline constexpr int kFrameAllowance = 16;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    MapState& state() { return state_; }
    MapSurface* picMap() const { return picMap_; }
    MapInteraction& interaction() { return interaction_; }
    QMenu* popupMenu() const { return mnuPopup_; }
    // The settings dialog while it is open.
    SettingsDialog* settingsDialog() const;
    ViewerLauncher& launcher() { return launcher_; }
    // The strip along the map's bottom edge that shows a loading viewer's
    // progress; hidden while there is none.
    QLabel* progressBar() const { return progress_; }

    // Start-up after the instance and directory checks: default colours,
    // settings, colour file, sheet names, coastline. Draws nothing.
    void Form_Load();

    // Draws the map into whichever layer is current.
    void reDraw();

    // Left, top, width and height of the window in twips (width and height
    // of the window itself, menu bar included, without the frame).
    QRect geometryTwips() const;
    // Kept within the screen's available area: a size larger than it
    // shrinks to it, and the window moves into it.
    void setGeometryTwips(const QRect& twips);

    // Scans the current data set's folder in the background; the tint
    // follows when the scan completes.
    void startScan();
    // Waits for the scan running now and hands its result over.
    void finishScan();

    // After OK in the settings dialog: the map drawn again as a key does it,
    // and the new folder scanned.
    void settingsConfirmed();

    // Files and the viewer start; see main_window_actions_ui.cpp.
    void ReadEnv();
    void ReadColor();
    SaveResult WriteEnv();
    SaveResult WriteColor();
    void RunViewer();

  public slots:
    void mnuExit_Click();
    void mnuSetting_Click();
    void mnuGo_Click();
    void mnuGo2_Click();
    void mnuMove_Click();
    void mnuManual_Click();
    void mnuUsage_Click();
    void mnuReadme_Click();
    void mnuVersion_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void Form_Unload();
    void showPopup(SurfacePoint at);
    void showProgress(const QString& text);

    MapState state_;
    MapSurface* picMap_;
    MapInteraction interaction_;
    QMenu* mnuPopup_ = nullptr;
    QLabel* progress_ = nullptr;
    QPointer<SettingsDialog> frmSetting_;
    ViewerLauncher launcher_;
    bool unloaded_ = false;
    // Last: stopped and joined before the rest goes.
    BackgroundScan scan_{this};
};

} // namespace skyloom
