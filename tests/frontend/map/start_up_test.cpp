#include "map/start_up.h"
#include "test_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(CommandLine, TheRemainingArgumentsJoinedBySingleBlanksNameTheDirectory)
{
    EXPECT_EQ(commandLineText({QStringLiteral("skyloom")}), QString());
    EXPECT_EQ(commandLineText({QStringLiteral("skyloom"), QStringLiteral("/tmp/a")}), QStringLiteral("/tmp/a"));
    EXPECT_EQ(commandLineText({QStringLiteral("skyloom"), QStringLiteral("my"), QStringLiteral("maps")}),
              QStringLiteral("my maps"));

    ScratchDirectory scratch;
    QDir().mkdir(QStringLiteral("my maps"));
    const QString home = QDir::currentPath();
    EXPECT_TRUE(enterStartDirectory(QString()));
    EXPECT_EQ(QDir::currentPath(), home);

    EXPECT_FALSE(enterStartDirectory(QStringLiteral("no such place")));
    EXPECT_EQ(QDir::currentPath(), home);

    scratch.write(QStringLiteral("plain file"), "x");
    EXPECT_FALSE(enterStartDirectory(QStringLiteral("plain file")));
    EXPECT_EQ(QDir::currentPath(), home);

    EXPECT_TRUE(enterStartDirectory(QStringLiteral("my maps")));
    EXPECT_EQ(QDir::currentPath(), QDir(home).filePath(QStringLiteral("my maps")));
}

TEST(SingleInstance, ALiveInstanceKeepsTheLockAndADeadOneDoesNot)
{
    ScratchDirectory scratch;
    const QString path = scratch.path() + QStringLiteral("/skyloom.lock");
    {
        const auto first = lockSingleInstance(path);
        ASSERT_TRUE(first);
        EXPECT_FALSE(lockSingleInstance(path)) << "a second instance while the first runs";

        // However old the lock grows, a running owner keeps it.
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
        file.close();
        EXPECT_FALSE(lockSingleInstance(path));
    }
    EXPECT_TRUE(lockSingleInstance(path)) << "released at the end of the first";

    // A crashed instance leaves its lock file behind; its process is gone.
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("999999999\nskyloom\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    EXPECT_TRUE(lockSingleInstance(path));
}

TEST(SingleInstance, TheLockIsPerUserAndOutsideTheWorkingDirectory)
{
    const QString path = instanceLockPath();
    EXPECT_TRUE(QFileInfo(path).isAbsolute());
    EXPECT_TRUE(path.contains(QString::number(getuid())));
}
