#pragma once
// Scratch folders, Shift-JIS files, map states and recorded messages shared
// by the front-end's tests.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <ostream>
#include <vector>

#include "core/map_state.h"
#include "core/messages.h"

using namespace skyloom;

// A fresh temporary folder that is also the current directory while it
// lives; the previous current directory comes back afterwards.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    QString path() const { return dir_.path(); }
    // Writes bytes to a file under the folder, making its sub-folders.
    QString write(const QString& relativePath, const QByteArray& bytes) const;

  private:
    QString previous_;
    QTemporaryDir dir_;
};

// Texts and colours in failure messages as people read them.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
class QColor;
void PrintTo(const QColor& colour, std::ostream* os); // in the widget tests' entry

// How many cells of the table have a name.
int namedCells(const SheetNameTable& table);

// A file's bytes, empty when it cannot be read.
QByteArray readFile(const QString& path);

// Text as Shift-JIS bytes, lines joined with CR LF (and ended with one).
QByteArray shiftJisLines(const QStringList& lines);

// A map of cols x rows cells with its lower-left cell at the origin.
MapState viewOf(int cols, int rows, int originX = kDefaultOriginX, int originY = kDefaultOriginY,
                Mesh mesh = Mesh::gsi50);

// Records every message instead of showing it, while it lives, and gives
// the answer set here.
class MessageRecorder {
  public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<Message> shown;
    MessageAnswer answer = MessageAnswer::Ok;

  private:
    MessagePresenter previous_;
};
