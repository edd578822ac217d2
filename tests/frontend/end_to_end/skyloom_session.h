#pragma once
// skyloom as a user starts it: a scratch layout made by the run command's
// own script (demo terrain beside a working folder with the programs and the
// shipped data files), skyloom started on the working folder with a
// run-time folder of its own so that no other instance counts, and its
// window once the map is drawn. What skyloom and the viewers it starts print
// goes to skyloom.out and skyloom.err in the layout's root.

#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <functional>

class SkyloomSession {
  public:
    // prepare runs on the laid-out root before skyloom starts.
    explicit SkyloomSession(const std::function<void(const QString& root)>& prepare = {});
    ~SkyloomSession();

    // Empty when no map came up.
    const QString& window() const { return window_; }
    const QRect& box() const { return box_; }
    // The screen point of the centre of surface cell (i, k) of the map's
    // 14 x 14 cells in 615 x 486 pixels at the bottom of the window.
    QPoint cell(int i, int k) const;
    // A file below the layout's root, empty when it cannot be read.
    QByteArray read(const QString& path) const;
    // Closes skyloom by its menu; whether it ended normally with status 0.
    bool close();

  private:
    QTemporaryDir root_;
    QProcess process_;
    QString window_;
    QRect box_;
};
