// Both programs' writers where the disk takes only part of a file: the old
// file stays whole, nothing is left beside it, and skyloom says which file
// and why, once.
#include "common/pending_file.h"
#include "core/saved_file.h"
#include "frontend_test.h"
#include "settings/colour_file.h"
#include "settings/settings_file.h"

#include <QDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace skyloom;

namespace {

// While it lives, no file of this process can grow past `bytes`: a write
// beyond fails (EFBIG) just as one on a full disk does (ENOSPC).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{std::min(bytes, previous_.rlim_max), previous_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

const QByteArray kOld = "2 0\r\nthe old contents\r\n";

} // namespace

TEST(SavedFile, AWriteThatDoesNotFitLeavesTheOldFileWhole)
{
    const struct {
        const char* label;
        rlim_t limit;
        qsizetype size;
    } cases[] = {
        {"no byte fits", 0, 100},
        {"part of a small file fits", 60, 100},
        {"more than Qt buffers, part fits", 20000, 50000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        testing_support::ScratchDir scratch(testing_support::ScratchDir::Enter::yes);
        writeIn(scratch, "skyloom.env", kOld);
        writeIn(scratch, "orvex.env", kOld);
        const QByteArray bytes(c.size, 'n');
        SaveResult result;
        bool pendingSaved = true;
        std::string pendingError;
        {
            FileSizeLimit full(c.limit);
            result = writeFileBesideAndRename("skyloom.env", bytes);
            common::PendingFile pending("orvex.env");
            pendingSaved =
                pending.write(bytes.constData(), bytes.size()) && pending.finish() && pending.commit();
            pendingError = pending.error();
        }
        EXPECT_FALSE(result);
        EXPECT_EQ(result.fileName, "skyloom.env");
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_FALSE(pendingSaved);
        EXPECT_NE(pendingError, "");
        EXPECT_EQ(readFile("skyloom.env"), kOld);
        EXPECT_EQ(readFile("orvex.env"), kOld);
        EXPECT_EQ(QDir().entryList(QDir::Files), (QStringList{"orvex.env", "skyloom.env"}));
    }
}

TEST(SavedFile, TheUserIsToldOnceAboutEveryFileNotSaved)
{
    testing_support::ScratchDir scratch(testing_support::ScratchDir::Enter::yes);
    writeIn(scratch, "orvex.col", kOld);
    MessageRecorder messages;
    SaveResult env, colours;
    {
        FileSizeLimit full(0);
        env = WriteEnv(MapState(), QRect(0, 0, 9225, 8085));
        colours = WriteColor(MapState());
    }
    EXPECT_EQ(readFile("orvex.col"), kOld);
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{"orvex.col"});

    const SaveResult saved = WriteEnv(MapState(), QRect(0, 0, 9225, 8085));
    ASSERT_TRUE(saved);
    tellSaveFailures({saved});
    EXPECT_TRUE(messages.shown.empty());
    tellSaveFailures({env, saved, colours});
    ASSERT_EQ(messages.shown.size(), 1u);
    const Message& told = messages.shown[0];
    EXPECT_EQ(told.icon, MessageIcon::Warning);
    EXPECT_EQ(told.text, QStringLiteral("skyloom.env を保存できません。\n") + env.error +
                             QStringLiteral("\norvex.col を保存できません。\n") + colours.error);
    EXPECT_EQ(env.error, QString::fromLocal8Bit(std::strerror(EFBIG))); // the system's own words
}
