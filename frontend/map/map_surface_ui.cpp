#include "map/map_surface_ui.h"

#include "core/map_font_ui.h"

#include "map/map_interaction.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace skyloom {

namespace {

// Pixels drawn outside the surface are clipped anyway; keeping coordinates
// within a margin protects the rasteriser from huge values.
constexpr double kMargin = 8.0;

QColor toColour(Rgb rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

QPen surfacePen(Rgb colour, int width)
{
    QPen pen(toColour(colour));
    pen.setWidth(width);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// Cuts the line from a to b to the rectangle (Liang-Barsky); false where
// nothing of it is left.
bool clipLine(QPointF& a, QPointF& b, const QRectF& box)
{
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(), box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF start = a;
    a = start + QPointF(dx, dy) * t0;
    b = start + QPointF(dx, dy) * t1;
    return true;
}

int keyCodeOf(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Left:
        return kKeyLeft;
    case Qt::Key_Up:
        return kKeyUp;
    case Qt::Key_Right:
        return kKeyRight;
    case Qt::Key_Down:
        return kKeyDown;
    default:
        return 0;
    }
}

// The mouse buttons held, as the handlers count them; a single button gives
// its own code.
int buttonCodes(Qt::MouseButtons buttons)
{
    const std::pair<Qt::MouseButton, int> codes[] = {
        {Qt::LeftButton, kLeftButton}, {Qt::RightButton, kRightButton}, {Qt::MiddleButton, kMiddleButton}};
    int held = 0;
    for (const auto& [button, code] : codes)
        if (buttons & button)
            held += code;
    return held;
}

} // namespace

MapSurface::MapSurface(QWidget* parent) : QWidget(parent), font_(mapFont())
{
    setObjectName(QStringLiteral("picMap"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(font_);
}

QColor MapSurface::backgroundColour() const
{
    return palette().color(QPalette::Base);
}

void MapSurface::setScale(int cols, int rows)
{
    cols_ = cols;
    rows_ = rows;
}

void MapSurface::setAutoRedraw(bool persistent)
{
    persistent_ = persistent;
}

void MapSurface::cls()
{
    if (persistent_)
        kept_.fill(backgroundColour());
    overlay_.fill(Qt::transparent);
    update();
}

SurfacePoint MapSurface::toSurface(QPointF pixel) const
{
    if (!scaled() || width() <= 0 || height() <= 0)
        return {};
    const double x = (std::floor(pixel.x()) + 0.5) * cols_ / width();
    const double y = (height() - std::floor(pixel.y()) - 0.5) * rows_ / height();
    return {x, y};
}

QPointF MapSurface::toPixel(SurfacePoint point) const
{
    if (!scaled())
        return {};
    return {point.x * width() / cols_, (rows_ - point.y) * height() / rows_};
}

void MapSurface::line(SurfacePoint from, SurfacePoint to, Rgb colour, int penWidth)
{
    if (!scaled())
        return;
    QPointF a = toPixel(from);
    QPointF b = toPixel(to);
    const QRectF box(-kMargin, -kMargin, width() + 2 * kMargin, height() + 2 * kMargin);
    if (!clipLine(a, b, box))
        return;
    QPainter painter(&currentLayer());
    painter.setPen(surfacePen(colour, penWidth));
    painter.drawLine(QPointF(std::round(a.x()), std::round(a.y())),
                     QPointF(std::round(b.x()), std::round(b.y())));
    update();
}

namespace {

// Pixel rectangle between two corners, rounded and kept near the surface.
QRect pixelRect(QPointF a, QPointF b, QSize size)
{
    auto clampX = [&](double v) {
        return static_cast<int>(std::round(std::clamp(v, -kMargin, size.width() + kMargin)));
    };
    auto clampY = [&](double v) {
        return static_cast<int>(std::round(std::clamp(v, -kMargin, size.height() + kMargin)));
    };
    const int left = std::min(clampX(a.x()), clampX(b.x()));
    const int right = std::max(clampX(a.x()), clampX(b.x()));
    const int top = std::min(clampY(a.y()), clampY(b.y()));
    const int bottom = std::max(clampY(a.y()), clampY(b.y()));
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

void MapSurface::fillRect(SurfacePoint corner1, SurfacePoint corner2, Rgb colour)
{
    if (!scaled())
        return;
    const QRect box = pixelRect(toPixel(corner1), toPixel(corner2), size());
    QPainter painter(&currentLayer());
    painter.fillRect(box, toColour(colour));
    update();
}

void MapSurface::outlineRect(SurfacePoint corner1, SurfacePoint corner2, Rgb colour, int penWidth)
{
    if (!scaled())
        return;
    const QRect box = pixelRect(toPixel(corner1), toPixel(corner2), size());
    QPainter painter(&currentLayer());
    painter.setPen(surfacePen(colour, penWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    update();
}

void MapSurface::text(SurfacePoint topLeft, const QString& text, Rgb colour)
{
    if (!scaled())
        return;
    const QPointF at = toPixel(topLeft);
    QPainter painter(&currentLayer());
    painter.setFont(font_);
    painter.setPen(toColour(colour));
    // Text is placed by its top edge; QPainter places it by its baseline.
    painter.drawText(QPointF(at.x(), at.y() + painter.fontMetrics().ascent()), text);
    update();
}

void MapSurface::resizeLayers()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (kept_.size() == pixels && kept_.devicePixelRatio() == ratio)
        return;
    // Like a kept picture that grows with its window: the old drawing stays
    // in the top-left corner until the next redraw.
    QImage kept(pixels, QImage::Format_RGB32);
    kept.setDevicePixelRatio(ratio);
    kept.fill(backgroundColour());
    if (!kept_.isNull()) {
        QPainter painter(&kept);
        painter.drawImage(QPointF(0, 0), kept_);
    }
    QImage overlay(pixels, QImage::Format_ARGB32_Premultiplied);
    overlay.setDevicePixelRatio(ratio);
    overlay.fill(Qt::transparent);
    // Fonts in points must come out as on the screen, not at an image's 72 dpi.
    for (QImage* image : {&kept, &overlay}) {
        image->setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        image->setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    }
    kept_ = std::move(kept);
    overlay_ = std::move(overlay);
}

void MapSurface::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    if (kept_.isNull())
        painter.fillRect(area, backgroundColour());
    else
        painter.drawImage(QPointF(0, 0), kept_);
    if (!overlay_.isNull())
        painter.drawImage(QPointF(0, 0), overlay_);
}

void MapSurface::relayout()
{
    resizeLayers();
    if (interaction_)
        interaction_->Form_Resize(width(), height());
    update();
}

void MapSurface::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void MapSurface::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window moved to a screen of another pixel ratio needs a new kept image.
    if (QWindow* handle = window()->windowHandle(); handle && !followsScreen_) {
        followsScreen_ = true;
        connect(handle, &QWindow::screenChanged, this, [this] {
            if (!kept_.isNull() && kept_.devicePixelRatio() != devicePixelRatioF())
                relayout();
        });
    }
}

void MapSurface::mousePressEvent(QMouseEvent* event)
{
    const SurfacePoint at = toSurface(event->position());
    if (interaction_ && scaled())
        interaction_->picMap_MouseDown(buttonCodes(event->button()), at.x, at.y);
}

void MapSurface::mouseMoveEvent(QMouseEvent* event)
{
    const SurfacePoint at = toSurface(event->position());
    if (interaction_ && scaled())
        interaction_->picMap_MouseMove(buttonCodes(event->buttons()), at.x, at.y);
}

void MapSurface::keyPressEvent(QKeyEvent* event)
{
    if (interaction_)
        interaction_->picMap_KeyDown(keyCodeOf(*event));
}

void MapSurface::wheelEvent(QWheelEvent* event)
{
    constexpr int kNotch = 120;
    QPoint turn = event->angleDelta();
    // Shift turns the wheel sideways where the platform has not done it.
    if (event->modifiers() & Qt::ShiftModifier && turn.x() == 0)
        turn = QPoint(turn.y(), 0);
    wheelRest_ += turn;
    const int north = wheelRest_.y() / kNotch;
    const int west = wheelRest_.x() / kNotch;
    wheelRest_ -= QPoint(west, north) * kNotch;
    if (interaction_ && scaled())
        interaction_->scrollBy(-west, north);
    event->accept();
}

bool MapSurface::focusNextPrevChild(bool)
{
    // picMap is the window's only control: Tab is a key like any other.
    return false;
}

} // namespace skyloom
