#pragma once
// picMap, the map's drawing surface: a kept image at the screen's
// device-pixel ratio plus an overlay, both painted in the surface's y-up
// units; mouse and key events are passed on in the same units.

#include "map/map_canvas.h"

#include <QFont>
#include <QImage>
#include <QWidget>

namespace skyloom {

class MapInteraction;

class MapSurface : public QWidget, public MapCanvas {
    Q_OBJECT
  public:
    explicit MapSurface(QWidget* parent = nullptr);

    // Where events go; may be null.
    void setInteraction(MapInteraction* interaction) { interaction_ = interaction; }

    void setScale(int cols, int rows) override;
    void setAutoRedraw(bool persistent) override;
    void cls() override;
    void line(SurfacePoint from, SurfacePoint to, Rgb colour, int penWidth) override;
    void fillRect(SurfacePoint corner1, SurfacePoint corner2, Rgb colour) override;
    void outlineRect(SurfacePoint corner1, SurfacePoint corner2, Rgb colour, int penWidth) override;
    void text(SurfacePoint topLeft, const QString& text, Rgb colour) override;

    // Surface units of a pixel's centre, and the pixel of a surface point.
    SurfacePoint toSurface(QPointF pixel) const;
    QPointF toPixel(SurfacePoint point) const;

    bool autoRedraw() const { return persistent_; }
    const QImage& keptImage() const { return kept_; }
    const QImage& overlayImage() const { return overlay_; }
    QColor backgroundColour() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    QImage& currentLayer() { return persistent_ ? kept_ : overlay_; }
    void resizeLayers();
    // The resize step again: new layers at the current size and ratio.
    void relayout();
    bool scaled() const { return cols_ > 0 && rows_ > 0; }

    MapInteraction* interaction_ = nullptr;
    QImage kept_;
    QImage overlay_;
    QFont font_;
    bool persistent_ = true;
    bool followsScreen_ = false;
    int cols_ = 0;
    int rows_ = 0;
    // Wheel turns not yet made into whole cells (120 to a notch).
    QPoint wheelRest_;
};

} // namespace skyloom
