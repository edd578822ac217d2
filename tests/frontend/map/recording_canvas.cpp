#include "recording_canvas.h"

using namespace skyloom;

namespace {

QString point(SurfacePoint p)
{
    return QString::number(p.x) + u',' + QString::number(p.y);
}

QString colourName(Rgb c)
{
    const std::pair<Rgb, const char*> names[] = {
        {kGridGrey, "grey"}, {kPrimaryBlue, "blue"}, {kRangeGreen, "green"}, {kTextBlack, "black"}};
    for (const auto& [rgb, name] : names)
        if (c == rgb)
            return QString::fromLatin1(name);
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.r).arg(c.g).arg(c.b);
}

} // namespace

void RecordingCanvas::line(SurfacePoint from, SurfacePoint to, Rgb colour, int penWidth)
{
    calls << QStringLiteral("line %1 %2 %3 %4").arg(point(from), point(to), colourName(colour)).arg(penWidth);
}

void RecordingCanvas::fillRect(SurfacePoint corner1, SurfacePoint corner2, Rgb colour)
{
    calls << QStringLiteral("fill %1 %2 %3").arg(point(corner1), point(corner2), colourName(colour));
}

void RecordingCanvas::outlineRect(SurfacePoint corner1, SurfacePoint corner2, Rgb colour, int penWidth)
{
    calls << QStringLiteral("outline %1 %2 %3 %4")
                 .arg(point(corner1), point(corner2), colourName(colour))
                 .arg(penWidth);
}

void RecordingCanvas::text(SurfacePoint topLeft, const QString& text, Rgb colour)
{
    calls << QStringLiteral("text %1 %2 %3").arg(point(topLeft), text, colourName(colour));
}

QString RecordingCanvas::sequence() const
{
    QStringList words;
    for (const QString& call : calls) {
        QString word = call.section(u' ', 0, 0);
        if (word == "line" || word == "text")
            word = "draw";
        if (word != "draw" || words.isEmpty() || words.back() != word)
            words << word;
    }
    return words.join(u' ');
}
