// What skyloom does before its window: Qt's messages and the character type,
// the single-instance lock and the per-user working directory of an
// installed skyloom.
#include "frontend_test.h"
#include "launch/start_up.h"
#include "launch/user_work_directory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <clocale>
#include <gtest/gtest.h>
#include <langinfo.h>
#include <unistd.h>

QStringList warnings;

TEST(StartUp, WithoutARuntimeFolderNoQtNoticeIsShownButOtherWarningsAre)
{
    testing_support::ScratchDir temporary;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", temporary.path().c_str());
    const QtMessageHandler before =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& t) { warnings << t; });
    const QString lock = instanceLockPath(); // ours asks Qt nothing
    quietenRuntimeDirectoryNotice();
    QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation); // Qt's own notice
    qWarning("a real warning");
    qInstallMessageHandler(before);
    qputenv("XDG_RUNTIME_DIR", runtime), qunsetenv("TMPDIR");
    EXPECT_EQ(std::pair(lock, warnings),
              std::pair(pathOf(temporary) + QStringLiteral("/skyloom-%1.lock").arg(getuid()),
                        QStringList{"a real warning"}));
}

TEST(StartUp, ACharacterTypeOtherThanUtf8BecomesUtf8)
{
    const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_CTYPE, "C");
    EXPECT_TRUE(useUtf8CharacterType() && nl_langinfo(CODESET) == std::string("UTF-8"));
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), numeric) << "only the character type";
    std::setlocale(LC_CTYPE, "C");
}

TEST(StartUp, ALiveInstanceKeepsTheLockHoweverOldButACrashedOneLosesIt)
{
    testing_support::ScratchDir scratch;
    const QString path = pathOf(scratch) + "/skyloom.lock";
    EXPECT_TRUE(lockSingleInstance(path) && !lockSingleInstance(path));
    // A lock two days old whose owner, this very process, still runs.
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QString program = QFileInfo("/proc/self/exe").symLinkTarget().section('/', -1);
    writeIn(scratch, "skyloom.lock",
            QByteArray::number(QCoreApplication::applicationPid()) + "\n" + program.toUtf8() + "\n" + host +
                "\n");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(QDateTime::currentDateTime().addDays(-2),
                                                                    QFileDevice::FileModificationTime));
    file.close();
    EXPECT_FALSE(lockSingleInstance(path)) << "two days old, but its owner runs";
    // A crashed instance leaves its lock behind; its process is gone.
    writeIn(scratch, "skyloom.lock", "999999999\nskyloom\n" + host + "\n");
    EXPECT_TRUE(lockSingleInstance(path));
}

namespace {

// prefix/bin, prefix/share/skyloom and prefix/libexec/skyloom under a
// scratch folder, and data/skyloom/work for the user's working directory.
// The demo generator notes its arguments, then writes the four folders into
// its last argument, or fails half-way when told to.
struct FakeInstallation {
    explicit FakeInstallation(bool generatorFails = false)
    {
        writeIn(scratch, "prefix/share/skyloom/JapanCoast.txt", "coast\n");
        QFile::setPermissions(writeIn(scratch, "prefix/share/skyloom/orvex.col", "shipped\n"),
                              QFile::ReadOwner);
        for (const auto& [file, text] :
             {std::pair("prefix/bin/orvex", QByteArray("#!/bin/sh\n")),
              std::pair(
                  "prefix/libexec/skyloom/make-demo-data",
                  QByteArray("#!/bin/sh\necho \"$@\" >>\"$(dirname \"$0\")/calls\"\nfor out; do :; done\n"
                             "mkdir -p \"$out/GSI50M/DATA\" \"$out/SRTM3\"\n") +
                      (generatorFails ? "exit 3\n" : "mkdir -p \"$out/GSI250M\" \"$out/SRTM30\"\n"))})
            QFile::setPermissions(writeIn(scratch, file, text), QFile::ReadOwner | QFile::ExeOwner);
        installation = *findInstallation(pathOf(scratch) + "/prefix/bin", "../share/skyloom",
                                         "../libexec/skyloom/make-demo-data");
    }
    QString data() const { return pathOf(scratch) + "/data/skyloom"; }
    QString work() const { return data() + "/work"; }
    QStringList generatorCalls() const
    {
        return QString(readFile(pathOf(scratch) + "/prefix/libexec/skyloom/calls"))
            .split('\n', Qt::SkipEmptyParts);
    }
    QStringList dataFolders() const
    {
        return QDir(data()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    testing_support::ScratchDir scratch{testing_support::ScratchDir::Enter::yes};
    Installation installation;
    int notices = 0;
    const PreparationProgress progress = [this] { ++notices; };
};

} // namespace

TEST(UserWorkDirectory, IsFilledOnTheFirstStartWithANoticeWhileTheDemoIsMade)
{
    FakeInstallation fake;
    // A build tree or a laid-out working directory has no share/skyloom.
    EXPECT_FALSE(findInstallation(pathOf(fake.scratch) + "/prefix/share/skyloom", "../share/skyloom", "x"));
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", pathOf(fake.scratch).toUtf8() + "/data");
    EXPECT_EQ(userWorkDirectory(), fake.work());
    qputenv("XDG_DATA_HOME", dataHome);
    writeIn(fake.scratch, "data/skyloom/work/skyloom.env", "mine");
    ASSERT_TRUE(enterUserWorkDirectory(fake.installation, fake.work(), fake.progress));
    EXPECT_EQ(QDir::currentPath(), fake.work());
    EXPECT_GE(fake.notices, 1);
    EXPECT_EQ(readFile("JapanCoast.txt") + readFile("orvex.col") + readFile("skyloom.env"),
              "coast\nshipped\nmine");
    EXPECT_TRUE(QFile::permissions("orvex.col") & QFile::WriteOwner) << "the front-end rewrites it";
    EXPECT_EQ(QFileInfo("orvex").symLinkTarget(), fake.installation.viewer);
    // The demo went beside work, made from the installed coastline, and
    // nothing of its scratch folder stayed.
    EXPECT_EQ(fake.generatorCalls().join(u'|').section(".demo-", 0, 0),
              "--coast " + fake.installation.sharedFiles + "/JapanCoast.txt " + fake.data() + "/");
    EXPECT_EQ(fake.dataFolders(), QStringList({"GSI250M", "GSI50M", "SRTM3", "SRTM30", "work"}));

    // A later start keeps the user's files, makes no demo and shows no notice.
    writeIn(fake.scratch, "data/skyloom/work/orvex.col", "my colours");
    fake.notices = 0;
    EXPECT_EQ(prepareUserWorkDirectory(fake.installation, fake.work(), fake.progress), QStringList());
    EXPECT_EQ(std::tuple(readFile("orvex.col"), fake.generatorCalls().size(), fake.notices),
              std::tuple("my colours", 1, 0));
}

TEST(UserWorkDirectory, AFailedDemoLeavesNoFoldersWhileADanglingViewerLinkIsRenewed)
{
    FakeInstallation fake(true);
    QDir().mkpath(fake.work());
    ASSERT_TRUE(QFile::link(pathOf(fake.scratch) + "/old-prefix/bin/orvex", fake.work() + "/orvex"));
    const QStringList problems = prepareUserWorkDirectory(fake.installation, fake.work());
    EXPECT_TRUE(problems.size() == 1 && problems[0].contains("demo terrain"))
        << problems.join(u'|').toStdString();
    EXPECT_EQ(fake.dataFolders(), QStringList{"work"});
    EXPECT_EQ(QFileInfo(fake.work() + "/orvex").symLinkTarget(), fake.installation.viewer);
    // Tried again on the next start; still a working directory to enter.
    EXPECT_TRUE(enterUserWorkDirectory(fake.installation, fake.work()));
    EXPECT_EQ(fake.generatorCalls().size(), 2);
    // A broken installation without its viewer says so.
    QFile::remove(fake.work() + "/orvex"), QFile::remove(fake.installation.viewer);
    EXPECT_TRUE(
        prepareUserWorkDirectory(fake.installation, fake.work()).join(' ').contains("no viewer program"));
}
