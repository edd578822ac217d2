#include "map/map_drawing.h"

#include "core/map_state.h"
#include "core/shift_jis.h"
#include "map/map_layout.h"

#include <algorithm>

namespace skyloom {

namespace {

constexpr int kThinPen = 1;
constexpr int kThickPen = 3;

void gridLine(MapCanvas& canvas, SurfacePoint from, SurfacePoint to, bool primaryEdge)
{
    if (primaryEdge)
        canvas.line(from, to, kPrimaryBlue, kThickPen);
    else
        canvas.line(from, to, kGridGrey, kThinPen);
}

} // namespace

void reDraw(const MapState& state, MapCanvas& canvas)
{
    DrawPresence(state, canvas);
    DrawMesh(state, canvas);
    DrawMapName(state, canvas);
    DrawCoast(state, canvas);
}

void DrawMesh(const MapState& state, MapCanvas& canvas)
{
    const Grid grid = gridOf(state.meshFlag);
    const bool thick = grid != Grid::primary250;
    auto edge = [grid](std::int64_t line) {
        return grid == Grid::block ? line % kBlocksPerDegree == 0 : isPrimaryEdge(line);
    };
    for (int i = 1; i < state.viewCols; ++i) {
        const bool primary = thick && edge(std::int64_t{i} + state.originX);
        gridLine(canvas, {double(i), 0}, {double(i), double(state.viewRows)}, primary);
    }
    for (int k = 1; k < state.viewRows; ++k) {
        const bool primary = thick && edge(std::int64_t{k} + state.originY);
        gridLine(canvas, {0, double(k)}, {double(state.viewCols), double(k)}, primary);
    }
}

void DrawPresence(const MapState& state, MapCanvas& canvas)
{
    const DataPresence& presence = state.presence;
    if (!presence.scanned || presence.mesh != state.meshFlag)
        return;
    const bool rangeFilled = state.selState == Selection::range;
    for (int i = 0; i < state.viewCols; ++i) {
        for (int k = 0; k < state.viewRows; ++k) {
            if (!presence.present(std::int64_t{i} + state.originX, std::int64_t{k} + state.originY))
                continue;
            if (rangeFilled && i >= state.selX1 && i < state.selX2 && k >= state.selY1 && k < state.selY2)
                continue; // the range's green stays whole
            canvas.fillRect({double(i), double(k)}, {double(i + 1), double(k + 1)}, kDataTint);
        }
    }
}

void DrawMapName(const MapState& state, MapCanvas& canvas)
{
    const SheetNameTable& names = state.sheetNames();
    for (int i = 0; i < state.viewCols; ++i) {
        const std::int64_t x = std::int64_t{i} + state.originX;
        for (int k = 0; k < state.viewRows; ++k) {
            const std::int64_t y = std::int64_t{k} + state.originY;
            if (!names.contains(x, y))
                continue;
            const QString& name = names.at(static_cast<int>(x), static_cast<int>(y));
            if (name.isEmpty())
                continue;
            canvas.text({nameLeft(i, shiftJisByteCount(name)), nameTop(k)}, name, kTextBlack);
        }
    }
}

void DrawCoast(const MapState& state, MapCanvas& canvas)
{
    const std::size_t count = state.coastCount <= 0 ? 0
                                                    : std::min(static_cast<std::size_t>(state.coastCount),
                                                               state.coastSegments.size());
    for (std::size_t s = 0; s < count; ++s) {
        const auto segment = coastOnSurface(state.coastSegments[s], state.meshFlag, state.originX,
                                            state.originY, state.viewCols, state.viewRows);
        if (segment)
            canvas.line({segment->x1, segment->y1}, {segment->x2, segment->y2}, kTextBlack, kThinPen);
    }
}

void DrawRange(MapCanvas& canvas, double x1, double y1, double x2, double y2, bool filled)
{
    if (filled)
        canvas.fillRect({x1, y1}, {x2, y2}, kRangeGreen);
    else
        canvas.outlineRect({x1, y1}, {x2, y2}, kRangeGreen, kThickPen);
}

} // namespace skyloom
