#pragma once
// A canvas that writes every call down as a line of text, such as
// "line 1,0 1,14 grey 1" or "text 9.02,7.6 東京 black", for checking what is
// drawn and in which order.

#include "map/map_canvas.h"

#include <QStringList>

class RecordingCanvas : public skyloom::MapCanvas {
  public:
    void setScale(int cols, int rows) override { calls << QStringLiteral("scale %1 %2").arg(cols).arg(rows); }
    void setAutoRedraw(bool persistent) override { calls << (persistent ? "on" : "off"); }
    void cls() override { calls << "cls"; }
    void line(skyloom::SurfacePoint from, skyloom::SurfacePoint to, skyloom::Rgb colour, int pen) override
    {
        calls << QStringLiteral("line %1 %2 %3 %4").arg(text(from), text(to), text(colour)).arg(pen);
    }
    void fillRect(skyloom::SurfacePoint corner1, skyloom::SurfacePoint corner2, skyloom::Rgb colour) override
    {
        calls << QStringLiteral("fill %1 %2 %3").arg(text(corner1), text(corner2), text(colour));
    }
    void outlineRect(skyloom::SurfacePoint corner1, skyloom::SurfacePoint corner2, skyloom::Rgb colour,
                     int pen) override
    {
        calls
            << QStringLiteral("outline %1 %2 %3 %4").arg(text(corner1), text(corner2), text(colour)).arg(pen);
    }
    void text(skyloom::SurfacePoint topLeft, const QString& name, skyloom::Rgb colour) override
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
    static QString text(skyloom::SurfacePoint p)
    {
        return QString::number(p.x) + u',' + QString::number(p.y);
    }
    static QString text(skyloom::Rgb c)
    {
        using namespace skyloom;
        for (const auto& [rgb, name] : {std::pair(kGridGrey, "grey"), std::pair(kPrimaryBlue, "blue"),
                                        std::pair(kRangeGreen, "green"), std::pair(kTextBlack, "black")})
            if (c == rgb)
                return name;
        return QString::asprintf("rgb(%d,%d,%d)", c.r, c.g, c.b);
    }
};
