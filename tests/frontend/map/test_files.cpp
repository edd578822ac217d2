#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <stdexcept>

using namespace skyloom;

ScratchDirectory::ScratchDirectory() : previous_(QDir::currentPath())
{
    if (!dir_.isValid() || !QDir::setCurrent(dir_.path()))
        throw std::runtime_error("cannot make a scratch directory");
}

ScratchDirectory::~ScratchDirectory()
{
    QDir::setCurrent(previous_);
}

QString ScratchDirectory::write(const QString& relativePath, const QByteArray& bytes) const
{
    const QString full = dir_.filePath(relativePath);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write a test file");
    return full;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray shiftJisLines(const QStringList& lines)
{
    QStringEncoder encoder("Shift_JIS");
    if (!encoder.isValid())
        throw std::runtime_error("no Shift_JIS encoder");
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += QByteArray(encoder.encode(line)) + "\r\n";
    return bytes;
}

MapState viewOf(int cols, int rows, int originX, int originY, Mesh mesh)
{
    MapState state;
    state.viewCols = cols;
    state.viewRows = rows;
    state.originX = originX;
    state.originY = originY;
    state.meshFlag = mesh;
    return state;
}

MessageRecorder::MessageRecorder()
    : previous_(installMessagePresenter([this](const Message& message) {
          shown.push_back(message);
          return answer;
      }))
{
}

MessageRecorder::~MessageRecorder()
{
    installMessagePresenter(previous_);
}

int namedCells(const SheetNameTable& table)
{
    int count = 0;
    for (int y = 0; y < table.rows(); ++y)
        for (int x = 0; x < table.cols(); ++x)
            count += table.at(x, y).isEmpty() ? 0 : 1;
    return count;
}
