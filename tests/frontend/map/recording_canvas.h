#pragma once
// A canvas that writes every call down as a line of text, such as
// "line 1,0 1,14 grey 1" or "text 9.02,7.6 東京 black", for checking what is
// drawn and in which order.

#include "map/map_canvas.h"

#include <QStringList>

using namespace skyloom;

class RecordingCanvas : public MapCanvas {
  public:
    void setScale(int cols, int rows) override { calls << QStringLiteral("scale %1 %2").arg(cols).arg(rows); }
    void setAutoRedraw(bool persistent) override { calls << (persistent ? "on" : "off"); }
    void cls() override { calls << "cls"; }
    void line(SurfacePoint from, SurfacePoint to, Rgb colour, int penWidth) override;
    void fillRect(SurfacePoint corner1, SurfacePoint corner2, Rgb colour) override;
    void outlineRect(SurfacePoint corner1, SurfacePoint corner2, Rgb colour, int penWidth) override;
    void text(SurfacePoint topLeft, const QString& text, Rgb colour) override;

    // The frame of a drawing, such as "on cls fill draw off outline": lines
    // and texts in a row are folded into one "draw".
    QString sequence() const;

    QStringList calls;
};
