#pragma once
// What skyloom's tests add to testing_support: Qt paths and texts, Shift-JIS
// index files, map states and recorded messages.

#include "core/map_state.h"
#include "core/messages.h"
#include "scratch_dir.h"

#include <QStringEncoder>
#include <QStringList>
#include <ostream>
#include <vector>

using namespace skyloom;

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline QString pathOf(const testing_support::ScratchDir& dir)
{
    return QString::fromStdString(dir.path());
}

// Writes bytes to a file below the scratch folder; its path.
inline QString writeIn(const testing_support::ScratchDir& dir, const QString& relative,
                       const QByteArray& bytes)
{
    testing_support::writeFile(dir.file(relative.toStdString()), bytes.toStdString());
    return pathOf(dir) + u'/' + relative;
}

inline QByteArray readFile(const QString& path)
{
    return QByteArray::fromStdString(testing_support::fileText(path.toStdString()));
}

// Lines as Shift-JIS bytes, each ended with CR LF.
inline QByteArray shiftJisLines(const QStringList& lines)
{
    QStringEncoder encoder("Shift_JIS");
    return QByteArray(encoder.encode(lines.join("\r\n") + "\r\n"));
}

// A map of cols x rows cells with its lower-left cell at the origin.
inline MapState viewOf(int cols, int rows, int originX = kDefaultOriginX, int originY = kDefaultOriginY,
                       Mesh mesh = Mesh::gsi50)
{
    MapState state;
    std::tie(state.viewCols, state.viewRows, state.originX, state.originY, state.meshFlag) =
        std::tuple(cols, rows, originX, originY, mesh);
    return state;
}

// Records every message instead of showing it, while it lives, and gives
// the answer set here.
struct MessageRecorder {
    MessageRecorder() = default;
    MessageRecorder(const MessageRecorder&) = delete;
    ~MessageRecorder() { installMessagePresenter(previous); }
    QStringList texts() const
    {
        QStringList texts;
        for (const Message& message : shown)
            texts << message.text;
        return texts;
    }

    std::vector<Message> shown;
    MessageAnswer answer = MessageAnswer::Ok;
    MessagePresenter previous = installMessagePresenter([this](const Message& message) {
        shown.push_back(message);
        return answer;
    });
};
