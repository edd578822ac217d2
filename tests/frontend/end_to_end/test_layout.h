#pragma once
// A scratch layout as a user keeps it, laid out by the run command's own
// script from the build folder: demo terrain beside a working folder that
// holds the programs and the shipped data files; and skyloom started on it.

#include <QByteArray>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>

class TestLayout {
public:
    TestLayout();
    QString root() const { return root_.path(); }
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

// The screen point of the centre of surface cell (i, k) of a map of 14 x 14
// cells in 615 x 486 pixels at the bottom of skyloom's window.
QPoint cellCentre(const QRect& window, int i, int k);
