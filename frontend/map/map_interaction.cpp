#include "map/map_interaction.h"

#include "core/map_state.h"
#include "map/map_drawing.h"
#include "map/map_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace skyloom {

namespace {

// Stretches the start cell's span [low, high) of one axis to reach cell c,
// both included, on whichever side of it c lies.
void spanTo(int& low, int& high, int c)
{
    if (c < low)
        low = c;
    else
        high = addClamped(c, 1);
}

} // namespace

MapInteraction::MapInteraction(MapState& state, MapCanvas& canvas, std::function<void(SurfacePoint)> popup)
    : state_(state), canvas_(canvas), popup_(std::move(popup))
{
}

void MapInteraction::Form_Resize(double widthPixels, double heightPixels)
{
    state_.viewCols = cellCountForPixels(widthPixels, kCellWidthPixels);
    state_.viewRows = cellCountForPixels(heightPixels, kCellHeightPixels);
    if (state_.viewCols == 0 || state_.viewRows == 0)
        return;
    canvas_.setScale(state_.viewCols, state_.viewRows);
    RefreshMap();
}

void MapInteraction::RefreshMap()
{
    canvas_.setAutoRedraw(true);
    canvas_.cls();
    if (state_.selState == Selection::startCell)
        state_.selState = Selection::none;
    else if (state_.selState == Selection::range)
        DrawRange(canvas_, state_.selX1, state_.selY1, state_.selX2, state_.selY2, true);
    reDraw(state_, canvas_);
}

void MapInteraction::picMap_MouseDown(int button, double x, double y)
{
    if (button == kLeftButton) {
        if (state_.selState == Selection::startCell)
            completeRange(cellUnder(x), cellUnder(y));
        else
            chooseStartCell(cellUnder(x), cellUnder(y));
    } else if (button == kRightButton && insideChosenRange(x, y) && popup_) {
        popup_({x, y});
    } else if (button == kMiddleButton) {
        dragAnchor_ = SurfacePoint{x, y};
    }
}

bool MapInteraction::insideChosenRange(double x, double y) const
{
    return state_.selState == Selection::range && (x - state_.selX2) * (x - state_.selX1) < 0 &&
           (y - state_.selY2) * (y - state_.selY1) < 0;
}

void MapInteraction::chooseStartCell(int cx, int cy)
{
    state_.selX1 = cx;
    state_.selY1 = cy;
    state_.selX2 = addClamped(cx, 1);
    state_.selY2 = addClamped(cy, 1);
    state_.selState = Selection::startCell;
    drawStartCell();
}

void MapInteraction::drawStartCell()
{
    canvas_.setAutoRedraw(true);
    canvas_.cls();
    reDraw(state_, canvas_);
    canvas_.setAutoRedraw(false);
    DrawRange(canvas_, state_.selX1, state_.selY1, state_.selX2, state_.selY2, false);
}

void MapInteraction::redrawKeepingSelection()
{
    if (state_.selState == Selection::startCell && state_.viewCols > 0 && state_.viewRows > 0)
        drawStartCell();
    else
        RefreshMap();
}

void MapInteraction::completeRange(int cx, int cy)
{
    // The range runs from the start cell to the clicked one, both included,
    // from whichever corner the user started.
    spanTo(state_.selX1, state_.selX2, cx);
    spanTo(state_.selY1, state_.selY2, cy);
    state_.selState = Selection::range;
    canvas_.setAutoRedraw(true);
    canvas_.cls();
    DrawRange(canvas_, state_.selX1, state_.selY1, state_.selX2, state_.selY2, true);
    reDraw(state_, canvas_);
}

void MapInteraction::picMap_MouseMove(int buttons, double x, double y)
{
    if (buttons == kMiddleButton) {
        middleDragTo(x, y);
        return;
    }
    dragAnchor_.reset();
    if (buttons == kRightButton || state_.selState != Selection::startCell)
        return;
    const int cx = cellUnder(x);
    const int cy = cellUnder(y);
    int a1 = state_.selX1, b1 = state_.selY1, a2 = state_.selX2, b2 = state_.selY2;
    spanTo(a1, a2, cx);
    spanTo(b1, b2, cy);
    canvas_.cls();
    DrawRange(canvas_, a1, b1, a2, b2, false);
}

void MapInteraction::picMap_KeyDown(int keyCode)
{
    switch (keyCode) {
    case kKeyLeft:
        moveView(-1, 0);
        break;
    case kKeyRight:
        moveView(1, 0);
        break;
    case kKeyUp:
        moveView(0, 1);
        break;
    case kKeyDown:
        moveView(0, -1);
        break;
    default:
        break;
    }
    RefreshMap();
}

void MapInteraction::scrollBy(int cellsEast, int cellsNorth)
{
    if (cellsEast == 0 && cellsNorth == 0)
        return;
    moveView(cellsEast, cellsNorth);
    RefreshMap();
}

void MapInteraction::middleDragTo(double x, double y)
{
    // Whole cells the pointer has gone from the anchor; the map moves with
    // it, so the ground under the pointer stays under it.
    if (!dragAnchor_)
        return; // pressed elsewhere
    const double dx = std::trunc(dragAnchor_->x - x);
    const double dy = std::trunc(dragAnchor_->y - y);
    if (!(std::abs(dx) >= 1 || std::abs(dy) >= 1) || !std::isfinite(dx) || !std::isfinite(dy))
        return;
    const int east = static_cast<int>(std::clamp(dx, -1e6, 1e6));
    const int north = static_cast<int>(std::clamp(dy, -1e6, 1e6));
    dragAnchor_ = SurfacePoint{dragAnchor_->x - east, dragAnchor_->y - north};
    scrollBy(east, north);
}

void MapInteraction::moveView(int dx, int dy)
{
    // The range moves against the view so it stays on the same sheets.
    // At the ends of the 32-bit range the view stops rather than wraps.
    const int oldX = state_.originX;
    const int oldY = state_.originY;
    state_.originX = addClamped(oldX, dx);
    state_.originY = addClamped(oldY, dy);
    const std::int64_t movedX = std::int64_t{state_.originX} - oldX;
    const std::int64_t movedY = std::int64_t{state_.originY} - oldY;
    state_.selX1 = addClamped(state_.selX1, -movedX);
    state_.selX2 = addClamped(state_.selX2, -movedX);
    state_.selY1 = addClamped(state_.selY1, -movedY);
    state_.selY2 = addClamped(state_.selY2, -movedY);
}

} // namespace skyloom
