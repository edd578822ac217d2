#pragma once
// A canvas that writes every call down as a line of text, such as
// "line 1,0 1,14 grey 1" or "text 9.02,7.6 東京 black", for checking what is
// drawn and in which order.

#include "map/map_canvas.h"

#include <QStringList>

class RecordingCanvas : public skyloom::MapCanvas {
    using Point = skyloom::SurfacePoint;
    using Rgb = skyloom::Rgb;

  public:
    void setScale(int cols, int rows) override { calls << QStringLiteral("scale %1 %2").arg(cols).arg(rows); }
    void setAutoRedraw(bool persistent) override { calls << (persistent ? "on" : "off"); }
    void cls() override { calls << "cls"; }
    void line(Point from, Point to, Rgb colour, int pen) override { note("line", from, to, colour, pen); }
    void fillRect(Point a, Point b, Rgb colour) override { note("fill", a, b, colour, -1); }
    void outlineRect(Point a, Point b, Rgb colour, int pen) override { note("outline", a, b, colour, pen); }
    void text(Point topLeft, const QString& name, Rgb colour) override
    {
        calls << QStringLiteral("text %1 %2 %3").arg(text(topLeft), name, text(colour));
    }

    // The frame of a drawing, such as "on cls fill draw off outline": lines
    // and texts in a row are folded into one "draw".
    QString sequence() const
    {
        QStringList words;
        for (const QString& call : calls) {
            const QString word =
                call.startsWith("line") || call.startsWith("text") ? "draw" : call.section(u' ', 0, 0);
            if (word != "draw" || words.isEmpty() || words.back() != word)
                words << word;
        }
        return words.join(u' ');
    }

    QStringList calls;

  private:
    void note(const char* what, Point a, Point b, Rgb colour, int pen)
    {
        calls << QStringLiteral("%1 %2 %3 %4").arg(what, text(a), text(b), text(colour)) +
                     (pen < 0 ? QString() : u' ' + QString::number(pen));
    }
    static QString text(Point p) { return QString::number(p.x) + u',' + QString::number(p.y); }
    static QString text(Rgb c)
    {
        using namespace skyloom;
        for (const auto& [rgb, name] : {std::pair(kGridGrey, "grey"), std::pair(kPrimaryBlue, "blue"),
                                        std::pair(kRangeGreen, "green"), std::pair(kTextBlack, "black")})
            if (c == rgb)
                return name;
        return QString::asprintf("rgb(%d,%d,%d)", c.r, c.g, c.b);
    }
};
