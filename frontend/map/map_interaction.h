#pragma once
// How picMap answers the window and the user: the resize step, the redraw
// step, the two-click range selection with its rubber band, the arrow keys
// that move the view, and the right click that asks for the pop-up menu.

#include "map/map_canvas.h"

#include <functional>
#include <optional>

namespace skyloom {

struct MapState;

// Mouse buttons as the handlers receive them (held buttons are added).
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Key codes of the arrow keys; any other key passes its own code (or 0).
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

class MapInteraction {
  public:
    // popup opens mnuPopup at a pointer position in surface units.
    MapInteraction(MapState& state, MapCanvas& canvas, std::function<void(SurfacePoint)> popup);

    // The resize step: cells from picMap's size in pixels, the surface's
    // scale, then RefreshMap; a size of 0 cells either way draws nothing.
    void Form_Resize(double widthPixels, double heightPixels);

    // Persistence on, clear; a start cell is dropped, a chosen range drawn
    // filled; then the map over it.
    void RefreshMap();

    // The map drawn again with the selection as it stands: a start cell keeps
    // its outline (and its state), otherwise as RefreshMap.
    void redrawKeepingSelection();

    void picMap_MouseDown(int button, double x, double y);
    void picMap_MouseMove(int buttons, double x, double y);
    void picMap_KeyDown(int keyCode);

    // The wheel: whole cells east and north (negative: west and south), the
    // view redrawn as a key redraws it.
    void scrollBy(int cellsEast, int cellsNorth);
    // The middle button dragged: the map follows the pointer cell by cell.
    void middleDragTo(double x, double y);

    // Whether the pointer lies strictly inside a chosen range.
    bool insideChosenRange(double x, double y) const;

  private:
    void chooseStartCell(int cx, int cy);
    void drawStartCell();
    void completeRange(int cx, int cy);
    void moveView(int dx, int dy);

    MapState& state_;
    MapCanvas& canvas_;
    std::function<void(SurfacePoint)> popup_;
    // Where the middle button went down, while it is held.
    std::optional<SurfacePoint> dragAnchor_;
};

} // namespace skyloom
