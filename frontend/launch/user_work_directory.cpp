#include "launch/user_work_directory.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace skyloom {

namespace {

// The generator writes these four folders; GSI50M stands for them all.
const QStringList kDemoFolders = {"GSI50M", "GSI250M", "SRTM3", "SRTM30"};
constexpr int kDemoTimeoutMs = 10 * 60 * 1000;
constexpr int kProgressStepMs = 100;

QString cleanPath(const QString& dir, const QString& relative)
{
    return QDir::cleanPath(dir + u'/' + relative);
}

QStringList copySharedFiles(const QString& from, const QString& work)
{
    QStringList problems;
    for (const QFileInfo& source : QDir(from).entryInfoList(QDir::Files)) {
        const QString target = work + u'/' + source.fileName();
        if (QFileInfo(target).exists() || QFileInfo(target).isSymLink())
            continue;
        // QFile::copy writes beside the target and renames, so an interrupted
        // copy leaves no half file that a later start would keep.
        if (!QFile::copy(source.filePath(), target)) {
            problems << QStringLiteral("cannot copy %1 to %2").arg(source.filePath(), work);
            continue;
        }
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
    }
    return problems;
}

QStringList linkViewer(const QString& viewer, const QString& work)
{
    const QString target = work + QStringLiteral("/orvex");
    const QFileInfo present(target);
    // Whatever runs stays, the user's own viewer included; only a link left
    // dangling by an installation since removed is pointed at this one.
    if (present.exists())
        return {};
    if (!QFileInfo(viewer).isExecutable())
        return {QStringLiteral("no viewer program at %1").arg(viewer)};
    if (present.isSymLink() && !QFile::remove(target))
        return {QStringLiteral("cannot replace the link %1").arg(target)};
    if (QFile::link(viewer, target))
        return {};
    // A file system without links gets a copy.
    if (QFile::copy(viewer, target) &&
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner | QFile::WriteOwner))
        return {};
    return {QStringLiteral("cannot link or copy %1 to %2").arg(viewer, work)};
}

// Waits for the started generator to end, telling progress as it goes;
// false where it does not start or outlasts kDemoTimeoutMs.
bool waitForGenerator(QProcess& generator, const PreparationProgress& progress)
{
    if (!generator.waitForStarted())
        return false;
    const QDeadlineTimer deadline(kDemoTimeoutMs);
    while (generator.state() != QProcess::NotRunning) {
        if (deadline.hasExpired())
            return false;
        if (progress)
            progress();
        generator.waitForFinished(kProgressStepMs);
    }
    return true;
}

// Runs the generator into a scratch folder beside the final ones and moves
// its folders into place only once it has finished well.
QStringList generateDemoTerrain(const Installation& installation, const QString& parent,
                                const PreparationProgress& progress)
{
    if (QFileInfo::exists(parent + QStringLiteral("/GSI50M")))
        return {};
    QTemporaryDir scratch(parent + QStringLiteral("/.demo-XXXXXX"));
    if (!scratch.isValid())
        return {QStringLiteral("cannot make a folder in %1 for the demo terrain").arg(parent)};

    QStringList arguments;
    const QString coast = installation.sharedFiles + QStringLiteral("/JapanCoast.txt");
    if (QFileInfo::exists(coast))
        arguments << QStringLiteral("--coast") << coast;
    arguments << scratch.path();
    QProcess generator;
    generator.setProcessChannelMode(QProcess::ForwardedChannels);
    generator.setStandardInputFile(QProcess::nullDevice());
    generator.start(installation.demoGenerator, arguments);
    const bool finished = waitForGenerator(generator, progress);
    if (!finished || generator.exitStatus() != QProcess::NormalExit || generator.exitCode() != 0) {
        generator.kill();
        generator.waitForFinished();
        return {QStringLiteral("the demo terrain could not be made by %1").arg(installation.demoGenerator)};
    }

    QStringList problems;
    // GSI50M last: its presence is what says the demo is complete.
    QStringList folders = kDemoFolders.mid(1);
    folders << kDemoFolders.front();
    for (const QString& folder : folders) {
        const QString target = parent + u'/' + folder;
        if (QFileInfo::exists(target) || !QFileInfo::exists(scratch.filePath(folder)))
            continue;
        if (!QDir().rename(scratch.filePath(folder), target))
            problems << QStringLiteral("cannot move the demo terrain to %1").arg(target);
    }
    return problems;
}

} // namespace

std::optional<Installation> findInstallation(const QString& programDir, const QString& sharedFilesFromProgram,
                                             const QString& demoGeneratorFromProgram)
{
    const QString shared = cleanPath(programDir, sharedFilesFromProgram);
    if (programDir.isEmpty() || !QFileInfo(shared).isDir())
        return std::nullopt;
    return Installation{shared, cleanPath(programDir, QStringLiteral("orvex")),
                        cleanPath(programDir, demoGeneratorFromProgram)};
}

QString userWorkDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/skyloom/work");
}

QString preparationNoticeText()
{
    return QStringLiteral("作業フォルダを準備しています。\nしばらくお待ちください。");
}

QStringList prepareUserWorkDirectory(const Installation& installation, const QString& work,
                                     const PreparationProgress& progress)
{
    if (!QDir().mkpath(work))
        return {QStringLiteral("cannot make the working directory %1").arg(work)};
    QStringList problems = copySharedFiles(installation.sharedFiles, work);
    problems << linkViewer(installation.viewer, work);
    problems << generateDemoTerrain(installation, QFileInfo(work).absolutePath(), progress);
    return problems;
}

bool enterUserWorkDirectory(const Installation& installation, const QString& work,
                            const PreparationProgress& progress)
{
    for (const QString& problem : prepareUserWorkDirectory(installation, work, progress))
        std::fprintf(stderr, "skyloom: %s\n", problem.toLocal8Bit().constData());
    if (QDir::setCurrent(work))
        return true;
    std::fprintf(stderr, "skyloom: cannot enter %s; staying in %s\n", work.toLocal8Bit().constData(),
                 QDir::currentPath().toLocal8Bit().constData());
    return false;
}

} // namespace skyloom
