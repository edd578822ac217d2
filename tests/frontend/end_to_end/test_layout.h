#pragma once
// A scratch layout as a user keeps it: demo terrain beside a working folder
// that holds the programs and the shipped data files; skyloom started on
// it; and where its map lies on the screen.

#include <QByteArray>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>

// Laid out by the run command's own script from the build folder.
class TestLayout {
public:
    TestLayout();

    QString root() const { return root_.path(); }
    QString workFile(const QString& name) const { return root_.filePath(QStringLiteral("work/") + name); }
    QByteArray read(const QString& pathBelowRoot) const;

private:
    QTemporaryDir root_;
};

// skyloom started on the working folder (its command-line text) from the
// layout's root, with a run-time folder of its own so that no other
// instance counts; what it prints goes to skyloom.out and skyloom.err in the
// root.
class SkyloomRun {
public:
    explicit SkyloomRun(const TestLayout& layout);
    ~SkyloomRun();
    QProcess& process() { return process_; }

private:
    QProcess process_;
};

// Where the map's cells lie on the screen, found from the thick blue edges
// of the primary squares at surface lines 3 and 11 (default origin).
struct MapOnScreen {
    double col3X = 0, col11X = 0, row3Y = 0, row11Y = 0;
    bool valid() const { return col11X > col3X && row3Y > row11Y; }
    QPoint cellCentre(int i, int k) const;
};
MapOnScreen locateMap(const QRect& window);
