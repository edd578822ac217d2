#include "launch/viewer_launcher.h"

#include "core/data_sets.h"
#include "core/map_state.h"
#include "core/messages.h"
#include "launch/viewer_command.h"
#include "settings/colour_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace skyloom {

namespace {

// A file in the temporary folder that no folder lists: it is gone with its
// last descriptor, however the front-end and the viewer end. Made unnamed at
// once where the file system can (O_TMPFILE), else named for the moment
// between its making and its unlinking.
class UnnamedFile {
  public:
    UnnamedFile()
    {
        const QByteArray folder = QFile::encodeName(QDir::tempPath());
        descriptor_ = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (descriptor_ >= 0)
            return;
        QByteArray pattern = folder + "/orvex-errors-XXXXXX";
        descriptor_ = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (descriptor_ >= 0)
            ::unlink(pattern.constData());
    }
    ~UnnamedFile()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    UnnamedFile(const UnnamedFile&) = delete;
    UnnamedFile& operator=(const UnnamedFile&) = delete;

    int descriptor() const { return descriptor_; }

    // Everything written from `offset` on, read without moving the offset
    // that a writer sharing the descriptor uses.
    QByteArray contents(qint64 offset = 0) const
    {
        QByteArray bytes;
        char piece[4096];
        for (;;) {
            const ssize_t got =
                ::pread(descriptor_, piece, sizeof piece, static_cast<off_t>(offset + bytes.size()));
            if (got <= 0)
                return bytes;
            bytes.append(piece, got);
        }
    }

  private:
    int descriptor_ = -1;
};

} // namespace

struct ViewerLauncher::Viewer {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    std::unique_ptr<UnnamedFile> errors;
    std::unique_ptr<UnnamedFile> output;
    QByteArray outputSeen; // what poll has passed on
    QString dataFolder;
    QElapsedTimer sinceOutput;
    bool loading = true;
    bool ended = false;
};

ViewerLauncher::ViewerLauncher()
{
    poller_.setInterval(kPollMilliseconds);
    QObject::connect(&poller_, &QTimer::timeout, [this] { poll(); });
}

void ViewerLauncher::setProgressListener(std::function<void(const QString&)> listener)
{
    listener_ = std::move(listener);
}

void ViewerLauncher::tell(const QString& progress)
{
    if (progress == told_)
        return;
    told_ = progress;
    if (listener_)
        listener_(progress);
}

void ViewerLauncher::loadingShown()
{
    for (const auto& viewer : viewers_)
        viewer->loading = false;
    tell(QString());
}

void ViewerLauncher::poll()
{
    QString progress;
    bool anyRunning = false;
    for (const auto& owned : viewers_) {
        Viewer& viewer = *owned;
        if (!viewer.output || viewer.output->descriptor() < 0)
            continue;
        const QByteArray fresh = viewer.output->contents(viewer.outputSeen.size());
        if (!fresh.isEmpty()) {
            std::fwrite(fresh.constData(), 1, std::size_t(fresh.size()), stdout);
            std::fflush(stdout);
            viewer.outputSeen += fresh;
            viewer.sinceOutput.start();
        }
        if (viewer.ended)
            continue;
        anyRunning = true;
        if (viewer.loading && viewer.sinceOutput.isValid() &&
            viewer.sinceOutput.elapsed() > kQuietAfterLoading)
            viewer.loading = false;
        if (viewer.loading)
            progress = lastProgressLine(viewer.outputSeen); // the newest viewer's, last
    }
    tell(progress);
    if (!anyRunning)
        poller_.stop();
}

ViewerLauncher::~ViewerLauncher()
{
    for (const auto& viewer : viewers_) {
        if (viewer->ended || viewer->process->state() == QProcess::NotRunning)
            continue;
        // Destroying a QProcess kills its process; a viewer the user is
        // flying in must outlive the front-end, so its object is let go and
        // the process exit reclaims it.
        viewer->process->disconnect();
        QProcess* outliving = viewer->process.release();
#if defined(__SANITIZE_ADDRESS__)
        __lsan_ignore_object(outliving);
#else
        (void)outliving;
#endif
    }
}

bool readsThroughGdal(const MapState& state)
{
    const QString& folder = dataDirOf(state, Mesh::srtm);
    const DataPresence& known = state.presence;
    const bool current = known.scanned && known.mesh == Mesh::srtm &&
                         QDir(known.folder).absolutePath() == QDir(folder).absolutePath();
    const DataPresence found = current ? known : scanDataFolder(Mesh::srtm, folder, {}, Detail::namesOnly);
    return !found.hasTiles && found.hasOtherRasters;
}

void ViewerLauncher::RunViewer(const MapState& state)
{
    const QFileInfo program(QString::fromLatin1(kViewerProgram));
    if (!program.isFile() || !program.isExecutable()) {
        showMessage({program.fileName() + QStringLiteral(" ファイルがありません。"), MessageIcon::Critical});
        return;
    }
    if (state.selState != Selection::range) {
        showMessage({QStringLiteral("地図範囲が指定されていません。"), MessageIcon::Warning});
        return;
    }
    // The viewer still starts: it reads the old colours, which stay whole.
    tellSaveFailures({WriteColor(state)});
    start(viewerCommandLine(state, state.meshFlag == Mesh::srtm && readsThroughGdal(state)));
}

void ViewerLauncher::start(const QStringList& commandLine)
{
    if (commandLine.isEmpty())
        return;
    dropEnded();
    auto owned = std::make_unique<Viewer>();
    Viewer& viewer = *owned;
    QProcess& process = *viewer.process;
    process.setProgram(QFileInfo(commandLine.front()).absoluteFilePath());
    process.setArguments(commandLine.mid(1));
    process.setWorkingDirectory(QDir::currentPath());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    // A file rather than a pipe, so that a viewer that outlives the
    // front-end can still write its messages; one without a name, so that
    // none is ever left behind. The child takes it as its standard error
    // between fork and exec (dup2 is safe there).
    viewer.errors = std::make_unique<UnnamedFile>();
    viewer.output = std::make_unique<UnnamedFile>();
    viewer.dataFolder = commandLine.value(2);
    viewer.sinceOutput.start();
    const int errors = viewer.errors->descriptor();
    const int output = viewer.output->descriptor();
    process.setChildProcessModifier([errors, output] {
        if (errors >= 0)
            ::dup2(errors, STDERR_FILENO);
        if (output >= 0)
            ::dup2(output, STDOUT_FILENO);
    });

    QObject::connect(&process, &QProcess::errorOccurred, [&viewer](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || viewer.ended)
            return;
        showMessage({viewerStartFailureText(viewer.process->errorString()), MessageIcon::Critical});
        viewer.ended = true;
    });
    QObject::connect(&process, &QProcess::finished,
                     [this, &viewer](int exitCode, QProcess::ExitStatus status) {
                         finished(viewer, exitCode, status == QProcess::CrashExit);
                     });
    viewers_.push_back(std::move(owned));
    process.start();
    poller_.start();
}

void ViewerLauncher::finished(Viewer& viewer, int exitCode, bool crashed)
{
    const QByteArray errors =
        viewer.errors && viewer.errors->descriptor() >= 0 ? viewer.errors->contents() : QByteArray();
    viewer.loading = false;
    poll(); // the last of its output passed on
    const QByteArray output = viewer.outputSeen;
    // Someone who started the front-end from a terminal sees what the viewer
    // said, as if it had been started there.
    std::fwrite(errors.constData(), 1, errors.size(), stderr);
    std::fflush(stderr);
    if (crashed)
        showMessage({viewerCrashText(), MessageIcon::Critical});
    else if (exitCode == kViewerFatalStatus)
        showMessage({viewerFailureReport(errors, output, viewer.dataFolder), MessageIcon::Critical});
    // Set last: the message box runs its own loop, and the entry must not be
    // dropped by a start made during it.
    viewer.ended = true;
    poll();
}

void ViewerLauncher::dropEnded()
{
    std::erase_if(viewers_, [](const std::unique_ptr<Viewer>& viewer) { return viewer->ended; });
}

int ViewerLauncher::runningCount() const
{
    return static_cast<int>(std::count_if(viewers_.begin(), viewers_.end(), [](const auto& viewer) {
        return !viewer->ended && viewer->process->state() != QProcess::NotRunning;
    }));
}

} // namespace skyloom
