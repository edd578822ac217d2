#pragma once
// The drawing surface the map is drawn on, in the surface's own units: x runs
// from 0 at the left edge to the column count at the right, y from 0 at the
// bottom edge to the row count at the top (north up); one unit is one cell.
// Pen widths are in pixels whatever the scale, and text stays upright.

#include <QString>

namespace skyloom {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kGridGrey{150, 150, 150};
inline constexpr Rgb kPrimaryBlue{0, 0, 255};
inline constexpr Rgb kRangeGreen{0, 255, 0};
inline constexpr Rgb kTextBlack{0, 0, 0};
// Cells whose data files are in the data folder.
inline constexpr Rgb kDataTint{255, 238, 190};

struct SurfacePoint {
    double x = 0;
    double y = 0;
    bool operator==(const SurfacePoint&) const = default;
};

class MapCanvas {
  public:
    virtual ~MapCanvas() = default;

    // Maps cols x rows units onto the whole surface.
    virtual void setScale(int cols, int rows) = 0;
    // With persistence on, drawings go into the kept image; with it off, into
    // an overlay that the kept image never holds.
    virtual void setAutoRedraw(bool persistent) = 0;
    // Persistence on: empties both layers to the background colour.
    // Persistence off: removes the overlay only.
    virtual void cls() = 0;

    virtual void line(SurfacePoint from, SurfacePoint to, Rgb colour, int penWidth) = 0;
    // A rectangle between two opposite corners, filled and outlined in colour.
    virtual void fillRect(SurfacePoint corner1, SurfacePoint corner2, Rgb colour) = 0;
    virtual void outlineRect(SurfacePoint corner1, SurfacePoint corner2, Rgb colour, int penWidth) = 0;
    // Text in the surface's font with its top-left corner at topLeft.
    virtual void text(SurfacePoint topLeft, const QString& text, Rgb colour) = 0;
};

} // namespace skyloom
