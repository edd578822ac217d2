#pragma once
// frmMain, skyloom's one window: the menus, picMap filling the client area,
// and the start-up, resize and shut-down steps around the map state.

#include "core/map_state.h"
#include "core/saved_file.h"
#include "launch/viewer_launcher.h"
#include "map/map_interaction.h"
#include "settings/settings_file.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>

class QAction;
class QMenu;

namespace skyloom {

class MapSurface;
class SettingsDialog;

inline constexpr int kDefaultClientWidthTwips = 9225;
inline constexpr int kDefaultClientHeightTwips = 7290;

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

    // Start-up after the instance and directory checks: default colours,
    // settings, colour file, sheet names, coastline. Draws nothing.
    void Form_Load();

    // Draws the map into whichever layer is current.
    void reDraw();

    // Left, top, width and height of the window in twips (width and height
    // of the window itself, menu bar included, without the frame).
    QRect geometryTwips() const;
    void setGeometryTwips(const QRect& twips);

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

    MapState state_;
    MapSurface* picMap_;
    MapInteraction interaction_;
    QMenu* mnuPopup_ = nullptr;
    QPointer<SettingsDialog> frmSetting_;
    ViewerLauncher launcher_;
    bool unloaded_ = false;
};

} // namespace skyloom
