#include "map/start_up.h"
#include "test_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(StartUp, TheJoinedArgumentsBecomeTheWorkingDirectoryIfItExists)
{
    EXPECT_EQ(commandLineText({"skyloom"}), QString());
    EXPECT_EQ(commandLineText({"skyloom", "my", "maps"}), QStringLiteral("my maps"));

    ScratchDirectory scratch;
    QDir().mkdir("my maps");
    scratch.write("plain file", "x");
    const QString home = QDir::currentPath();
    for (const QString stay : {"", "no such place", "plain file"}) {
        EXPECT_EQ(enterStartDirectory(stay), stay.isEmpty());
        EXPECT_EQ(QDir::currentPath(), home);
    }
    EXPECT_TRUE(enterStartDirectory("my maps"));
    EXPECT_EQ(QDir::currentPath(), QDir(home).filePath("my maps"));
}

TEST(StartUp, ALiveInstanceKeepsTheLockHoweverOldAndACrashedOneDoesNot)
{
    ScratchDirectory scratch;
    const QString path = scratch.path() + "/skyloom.lock";
    {
        const auto first = lockSingleInstance(path);
        ASSERT_TRUE(first);
        EXPECT_FALSE(lockSingleInstance(path));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
        file.close();
        EXPECT_FALSE(lockSingleInstance(path)) << "two days old, but its owner runs";
    }
    // A crashed instance leaves its lock behind; its process is gone.
    scratch.write("skyloom.lock", "999999999\nskyloom\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    EXPECT_TRUE(lockSingleInstance(path));
    EXPECT_TRUE(instanceLockPath().contains(QString::number(getuid())));
}
