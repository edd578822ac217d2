#include "recording_canvas.h"

#include <QStringList>

std::vector<CanvasCall> RecordingCanvas::ofKind(CanvasCall::Kind kind) const
{
    std::vector<CanvasCall> found;
    for (const CanvasCall& call : calls)
        if (call.kind == kind)
            found.push_back(call);
    return found;
}

QString RecordingCanvas::sequence() const
{
    QStringList words;
    for (const CanvasCall& call : calls) {
        QString word;
        switch (call.kind) {
        case CanvasCall::Scale:
            word = QStringLiteral("scale");
            break;
        case CanvasCall::AutoRedraw:
            word = call.width ? QStringLiteral("on") : QStringLiteral("off");
            break;
        case CanvasCall::Cls:
            word = QStringLiteral("cls");
            break;
        case CanvasCall::Fill:
            word = QStringLiteral("fill");
            break;
        case CanvasCall::Outline:
            word = QStringLiteral("outline");
            break;
        case CanvasCall::Line:
        case CanvasCall::Text:
            word = QStringLiteral("draw");
            break;
        }
        if (word == QStringLiteral("draw") && !words.isEmpty() && words.back() == word)
            continue;
        words << word;
    }
    return words.join(u' ');
}
