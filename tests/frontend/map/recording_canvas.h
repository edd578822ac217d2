#pragma once
// A canvas that writes down every call, for checking what is drawn and in
// which order.

#include "map/map_canvas.h"

#include <QString>
#include <vector>

struct CanvasCall {
    enum Kind { Scale, AutoRedraw, Cls, Line, Fill, Outline, Text } kind;
    SurfacePoint a{};
    SurfacePoint b{};
    Rgb colour{};
    int width = 0;
    QString text;
};

class RecordingCanvas : public MapCanvas {
public:
    void setScale(int cols, int rows) override { add(CanvasCall::Scale, {double(cols), double(rows)}); }
    void setAutoRedraw(bool persistent) override { add(CanvasCall::AutoRedraw, {}, {}, {}, persistent ? 1 : 0); }
    void cls() override { add(CanvasCall::Cls); }
    void line(SurfacePoint from, SurfacePoint to, Rgb colour, int penWidth) override
    {
        add(CanvasCall::Line, from, to, colour, penWidth);
    }
    void fillRect(SurfacePoint c1, SurfacePoint c2, Rgb colour) override { add(CanvasCall::Fill, c1, c2, colour); }
    void outlineRect(SurfacePoint c1, SurfacePoint c2, Rgb colour, int penWidth) override
    {
        add(CanvasCall::Outline, c1, c2, colour, penWidth);
    }
    void text(SurfacePoint topLeft, const QString& text, Rgb colour) override
    {
        add(CanvasCall::Text, topLeft, {}, colour, 0, text);
    }

    std::vector<CanvasCall> calls;

    std::vector<CanvasCall> ofKind(CanvasCall::Kind kind) const;
    // A compact trace of the calls that frame a drawing: "on cls fill draw
    // off outline", with everything reDraw draws folded into one "draw".
    QString sequence() const;

private:
    void add(CanvasCall::Kind kind, SurfacePoint a = {}, SurfacePoint b = {}, Rgb colour = {}, int width = 0,
             const QString& text = {})
    {
        calls.push_back({kind, a, b, colour, width, text});
    }
};
