#pragma once
// Scratch folders and Shift-JIS files for the map tests.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "map/messages.h"

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

// Text as Shift-JIS bytes, lines joined with CR LF (and ended with one).
QByteArray shiftJisLines(const QStringList& lines);

// Records every message instead of showing it, while it lives.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<Message> shown;

private:
    MessagePresenter previous_;
};
