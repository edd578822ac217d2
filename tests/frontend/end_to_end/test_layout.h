#pragma once
// A scratch layout as a user keeps it: demo terrain beside a working folder
// that holds orvex, the shipped data files and whatever the test prepares.

#include <QByteArray>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

class TestLayout {
public:
    // By hand (the demo terrain, orvex and the shipped data files), or by
    // the run command's own layout script from the build folder.
    enum class Made { ByHand, ByLayoutScript };
    explicit TestLayout(Made made = Made::ByHand);

    QString root() const { return root_.path(); }
    QString work() const { return root_.filePath(QStringLiteral("work")); }
    QString workFile(const QString& name) const { return work() + u'/' + name; }
    void writeWork(const QString& name, const QByteArray& bytes) const;
    QByteArray readWork(const QString& name) const;

private:
    QTemporaryDir root_;
};

// skyloom started on the working folder (its command-line text) from the
// layout's root, with a run-time folder of its own so that no other
// instance counts. What it prints goes to files in the root. The program is
// the build's skyloom unless another is named.
class SkyloomRun {
public:
    explicit SkyloomRun(const TestLayout& layout, const QString& program = QStringLiteral(SKYLOOM_PROGRAM));
    ~SkyloomRun();

    QProcess& process() { return process_; }
    QByteArray standardOutput() const;
    QByteArray standardError() const;

private:
    const TestLayout& layout_;
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
