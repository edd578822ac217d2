#pragma once
// RunViewer: the checks, the colour file, and orvex started on the chosen
// sheets as a process of its own that the front-end never waits for.

#include <QStringList>
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
    // ends at once), standard output shared with the front-end, standard
    // error kept, in a file no folder lists, to be shown when the viewer ends
    // with kViewerFatalStatus or crashes.
    // A viewer that does not start is reported. Returns at once.
    void start(const QStringList& commandLine);

    // Viewers started and not yet ended.
    int runningCount() const;

  private:
    struct Viewer;
    void finished(Viewer& viewer, int exitCode, bool crashed);
    void dropEnded();

    std::vector<std::unique_ptr<Viewer>> viewers_;
};

} // namespace skyloom
