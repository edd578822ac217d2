#pragma once
// RunViewer: the checks, the colour file, and orvex started on the chosen
// sheets as a process of its own that the front-end never waits for.

#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class QProcess;

namespace skyloom {
struct MapState;

// Whether the SRTM folder is read through GDAL: it holds rasters other than
// .hgt tiles and no tiles. The last scan answers where it was of this folder.
bool readsThroughGdal(const MapState& state);

class ViewerLauncher {
  public:
    ViewerLauncher();
    // Viewers still running keep running: the front-end lets go of them.
    ~ViewerLauncher();
    ViewerLauncher(const ViewerLauncher&) = delete;
    ViewerLauncher& operator=(const ViewerLauncher&) = delete;

    // The program file must be an executable "orvex" in the working
    // directory, then a range must be chosen; otherwise the user is told and
    // nothing happens. Then orvex.col is written (where it cannot be, the
    // user is told and the old file stays) and the viewer started.
    void RunViewer(const MapState& state);

    // Starts the command line's first word, a file in the working directory,
    // by its absolute path with the rest as its arguments: working directory
    // the current one, standard input closed (a fatal error's wait for Enter
    // ends at once), standard output and standard error kept, each in a file
    // no folder lists: the output is read as it comes, passed on to the
    // front-end's standard output and its "Reading" lines told as progress;
    // the error is shown, with the data folder (word 2) and the files not
    // found, when the viewer ends with kViewerFatalStatus or crashes.
    // A viewer that does not start is reported. Returns at once.
    void start(const QStringList& commandLine);

    // Viewers started and not yet ended.
    int runningCount() const;

    // Told the newest viewer's last "Reading" line while it loads, and an
    // empty text when it has gone quiet for kQuietAfterLoading, ended, or
    // the front-end was told its window is up (loadingShown).
    void setProgressListener(std::function<void(const QString&)> listener);
    void loadingShown();
    static constexpr int kPollMilliseconds = 100;
    static constexpr int kQuietAfterLoading = 5000;

  private:
    struct Viewer;
    void finished(Viewer& viewer, int exitCode, bool crashed);
    void dropEnded();
    // Reads what the viewers have written since, passes it on to the
    // front-end's own standard output and tells the progress.
    void poll();
    void tell(const QString& progress);

    std::vector<std::unique_ptr<Viewer>> viewers_;
    std::function<void(const QString&)> listener_;
    QString told_;
    QTimer poller_;
};

} // namespace skyloom
