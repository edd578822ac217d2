// What skyloom does before its window: the single-instance lock and the
// per-user working directory of an installed skyloom.
#include "launch/start_up.h"
#include "launch/user_work_directory.h"
#include "test_files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <gtest/gtest.h>

using namespace skyloom;

TEST(StartUp, ALiveInstanceKeepsTheLockHoweverOldAndACrashedOneDoesNot)
{
    ScratchDirectory scratch;
    const QString path = scratch.path() + "/skyloom.lock";
    {
        const auto first = lockSingleInstance(path);
        ASSERT_TRUE(first);
        EXPECT_FALSE(lockSingleInstance(path));
    }
    // A lock two days old whose owner, this very process, still runs.
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    scratch.write("skyloom.lock", QByteArray::number(QCoreApplication::applicationPid()) + "\n" +
                                      QFileInfo("/proc/self/exe").symLinkTarget().section('/', -1).toUtf8() +
                                      "\n" + host + "\n");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_FALSE(lockSingleInstance(path)) << "two days old, but its owner runs";
    // A crashed instance leaves its lock behind; its process is gone.
    scratch.write("skyloom.lock", "999999999\nskyloom\n" + host + "\n");
    EXPECT_TRUE(lockSingleInstance(path));
}

namespace {

// prefix/bin, prefix/share/skyloom and prefix/libexec/skyloom under a
// scratch folder, and a home for the user's data. The demo generator notes
// its arguments, then writes the four folders into its last argument, or
// fails half-way when told to.
struct FakeInstallation {
    explicit FakeInstallation(bool generatorFails = false)
    {
        makeExecutable(scratch.write("prefix/bin/orvex", "#!/bin/sh\n"));
        scratch.write("prefix/share/skyloom/JapanCoast.txt", "coast\n");
        QFile::setPermissions(scratch.write("prefix/share/skyloom/orvex.col", "shipped colours\n"),
                              QFile::ReadOwner);
        makeExecutable(
            scratch.write("prefix/libexec/skyloom/make-demo-data",
                          QByteArray("#!/bin/sh\necho \"$@\" >>\"$(dirname \"$0\")/calls\"\n"
                                     "for out; do :; done\nmkdir -p \"$out/GSI50M/DATA\" \"$out/SRTM3\"\n") +
                              (generatorFails ? "exit 3\n" : "mkdir -p \"$out/GSI250M\" \"$out/SRTM30\"\n")));
    }
    static void makeExecutable(const QString& path)
    {
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    }
    Installation installation() const
    {
        return *findInstallation(scratch.path() + "/prefix/bin", "../share/skyloom",
                                 "../libexec/skyloom/make-demo-data");
    }
    QString data() const { return scratch.path() + "/data/skyloom"; }
    QString work() const { return data() + "/work"; }
    QStringList generatorCalls() const
    {
        return QString(readFile(scratch.path() + "/prefix/libexec/skyloom/calls"))
            .split('\n', Qt::SkipEmptyParts);
    }
    QByteArray workFile(const QString& name) const { return readFile(work() + '/' + name); }
    QStringList dataFolders() const
    {
        return QDir(data()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    ScratchDirectory scratch;
};

} // namespace

TEST(UserWorkDirectory, TheFirstStartFillsItAndNoLaterStartTouchesTheUsersFiles)
{
    FakeInstallation fake;
    const QString prefix = fake.scratch.path() + "/prefix";
    EXPECT_EQ(fake.installation().demoGenerator, prefix + "/libexec/skyloom/make-demo-data");
    // A build tree or a laid-out working directory has no share/skyloom.
    EXPECT_FALSE(findInstallation(prefix + "/share/skyloom", "../share/skyloom", "x"));
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", fake.data().toUtf8());
    EXPECT_EQ(userWorkDirectory(), fake.data() + "/skyloom/work");
    qputenv("XDG_DATA_HOME", saved);

    fake.scratch.write("data/skyloom/work/skyloom.env", "mine");
    ASSERT_TRUE(enterUserWorkDirectory(fake.installation(), fake.work()));
    EXPECT_EQ(QDir::currentPath(), fake.work());
    EXPECT_EQ(fake.workFile("JapanCoast.txt"), "coast\n");
    EXPECT_EQ(fake.workFile("orvex.col"), "shipped colours\n");
    EXPECT_EQ(fake.workFile("skyloom.env"), "mine");
    EXPECT_TRUE(QFile::permissions(fake.work() + "/orvex.col") & QFile::WriteOwner)
        << "the front-end rewrites it";
    const QFileInfo viewer(fake.work() + "/orvex");
    EXPECT_TRUE(viewer.isSymLink());
    EXPECT_EQ(viewer.canonicalFilePath(), QFileInfo(prefix + "/bin/orvex").canonicalFilePath());

    // The demo went beside work, made from the installed coastline, and
    // nothing of its scratch folder stayed.
    ASSERT_EQ(fake.generatorCalls().size(), 1);
    EXPECT_TRUE(fake.generatorCalls()[0].startsWith("--coast " + prefix + "/share/skyloom/JapanCoast.txt " +
                                                    fake.data() + "/.demo-"));
    EXPECT_EQ(fake.dataFolders(), QStringList({"GSI250M", "GSI50M", "SRTM3", "SRTM30", "work"}));

    // The user's changes survive the next start, which generates nothing.
    fake.scratch.write("data/skyloom/work/orvex.col", "my colours");
    EXPECT_EQ(prepareUserWorkDirectory(fake.installation(), fake.work()), QStringList());
    EXPECT_EQ(fake.workFile("orvex.col"), "my colours");
    EXPECT_EQ(fake.generatorCalls().size(), 1);
}

TEST(UserWorkDirectory, AFailedDemoLeavesNoFoldersAndADanglingViewerLinkIsRenewed)
{
    FakeInstallation fake(true);
    QDir().mkpath(fake.work());
    ASSERT_TRUE(QFile::link(fake.scratch.path() + "/old-prefix/bin/orvex", fake.work() + "/orvex"));

    const QStringList problems = prepareUserWorkDirectory(fake.installation(), fake.work());
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("demo terrain")) << problems[0].toStdString();
    EXPECT_EQ(fake.dataFolders(), QStringList{"work"});
    EXPECT_EQ(QFileInfo(fake.work() + "/orvex").symLinkTarget(), fake.installation().viewer);

    // Tried again on the next start; still a working directory to enter.
    EXPECT_TRUE(enterUserWorkDirectory(fake.installation(), fake.work()));
    EXPECT_EQ(fake.generatorCalls().size(), 2);

    // A broken installation without its viewer says so.
    QFile::remove(fake.work() + "/orvex");
    QFile::remove(fake.installation().viewer);
    EXPECT_TRUE(
        prepareUserWorkDirectory(fake.installation(), fake.work()).join(' ').contains("no viewer program"));
}
