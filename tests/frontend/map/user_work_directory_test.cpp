#include "map/user_work_directory.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// A demo generator that notes its arguments, then writes the four folders
// into its last argument, or fails half-way when told to.
QByteArray generatorScript(bool failHalfWay)
{
    return QByteArray("#!/bin/sh\n"
                      "echo \"$@\" >>\"$(dirname \"$0\")/calls\"\n"
                      "for out; do :; done\n"
                      "mkdir -p \"$out/GSI50M/DATA\" \"$out/SRTM3\"\n") +
           (failHalfWay ? "exit 3\n" : "mkdir -p \"$out/GSI250M\" \"$out/SRTM30\"\n");
}

// prefix/bin, prefix/share/skyloom and prefix/libexec/skyloom under a
// scratch folder, and a home for the user's data.
struct FakeInstallation {
    explicit FakeInstallation(bool generatorFails = false)
    {
        makeExecutable(scratch.write("prefix/bin/orvex", "#!/bin/sh\n"));
        scratch.write("prefix/share/skyloom/MtJapan.txt", "summits\n");
        scratch.write("prefix/share/skyloom/JapanCoast.txt", "coast\n");
        scratch.write("prefix/share/skyloom/orvex.col", "shipped colours\n");
        makeExecutable(scratch.write("prefix/libexec/skyloom/make-demo-data", generatorScript(generatorFails)));
        QFile::setPermissions(scratch.path() + "/prefix/share/skyloom/orvex.col", QFile::ReadOwner | QFile::ReadOther);
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
        QFile calls(scratch.path() + "/prefix/libexec/skyloom/calls");
        return calls.open(QIODevice::ReadOnly) ? QString(calls.readAll()).split('\n', Qt::SkipEmptyParts)
                                               : QStringList();
    }
    QByteArray workFile(const QString& name) const
    {
        QFile file(work() + '/' + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    ScratchDirectory scratch;
};

} // namespace

TEST(UserWorkDirectory, AnInstallationIsKnownByItsSharedFilesBesideTheProgram)
{
    FakeInstallation fake;
    const QString prefix = fake.scratch.path() + "/prefix";
    const Installation found = fake.installation();
    EXPECT_EQ(found.sharedFiles, prefix + "/share/skyloom");
    EXPECT_EQ(found.viewer, prefix + "/bin/orvex");
    EXPECT_EQ(found.demoGenerator, prefix + "/libexec/skyloom/make-demo-data");
    // A build tree or a laid-out working directory has no share/skyloom.
    EXPECT_FALSE(findInstallation(prefix + "/share/skyloom", "../share/skyloom", "x"));
    EXPECT_FALSE(findInstallation(QString(), "share/skyloom", "x"));

    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", fake.data().toUtf8());
    EXPECT_EQ(userWorkDirectory(), fake.data() + "/skyloom/work");
    qputenv("XDG_DATA_HOME", saved);
}

TEST(UserWorkDirectory, TheFirstStartFillsItAndNoLaterStartTouchesTheUsersFiles)
{
    FakeInstallation fake;
    fake.scratch.write("data/skyloom/work/skyloom.env", "mine");
    ASSERT_TRUE(enterUserWorkDirectory(fake.installation(), fake.work()));
    EXPECT_EQ(QDir::currentPath(), fake.work());

    EXPECT_EQ(fake.workFile("MtJapan.txt"), "summits\n");
    EXPECT_EQ(fake.workFile("orvex.col"), "shipped colours\n");
    EXPECT_EQ(fake.workFile("skyloom.env"), "mine");
    EXPECT_TRUE(QFile::permissions(fake.work() + "/orvex.col") & QFile::WriteOwner) << "the front-end rewrites it";
    const QFileInfo viewer(fake.work() + "/orvex");
    EXPECT_TRUE(viewer.isSymLink());
    EXPECT_EQ(viewer.canonicalFilePath(), QFileInfo(fake.installation().viewer).canonicalFilePath());
    EXPECT_TRUE(viewer.isExecutable());

    // The demo went beside work, made from the installed coastline, and
    // nothing of its scratch folder stayed.
    ASSERT_EQ(fake.generatorCalls().size(), 1);
    EXPECT_TRUE(fake.generatorCalls()[0].startsWith("--coast " + fake.installation().sharedFiles + "/JapanCoast.txt " +
                                                    fake.data() + "/.demo-"));
    EXPECT_EQ(QDir(fake.data()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"GSI250M", "GSI50M", "SRTM3", "SRTM30", "work"}));

    // The user's changes survive the next start, which generates nothing.
    fake.scratch.write("data/skyloom/work/orvex.col", "my colours");
    fake.scratch.write("data/skyloom/work/MtJapan.txt", "my summits");
    EXPECT_EQ(prepareUserWorkDirectory(fake.installation(), fake.work()), QStringList());
    EXPECT_EQ(fake.workFile("orvex.col"), "my colours");
    EXPECT_EQ(fake.workFile("MtJapan.txt"), "my summits");
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
    EXPECT_EQ(QDir(fake.data()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"work"});
    EXPECT_EQ(QFileInfo(fake.work() + "/orvex").symLinkTarget(), fake.installation().viewer);

    // Tried again on the next start; still a working directory to enter.
    EXPECT_TRUE(enterUserWorkDirectory(fake.installation(), fake.work()));
    EXPECT_EQ(fake.generatorCalls().size(), 2);

    // A broken installation without its viewer says so.
    QFile::remove(fake.work() + "/orvex");
    QFile::remove(fake.installation().viewer);
    EXPECT_TRUE(prepareUserWorkDirectory(fake.installation(), fake.work()).join(' ').contains("no viewer program"));
}
