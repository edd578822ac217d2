// The loaders' progress: lines as they are printed, and on a terminal the
// one-line indicator below them, written over and erased before the window.
#include <gtest/gtest.h>

#include <cstdio>

#include "data/loaders.h"
#include "scratch_dir.h"
#include "state/grid.h"
#include "state/load_progress.h"

using namespace orvex;
using testing_support::fileText;

namespace {

TEST(LoadProgress, TheIndicatorStaysUnderTheLinesOnlyOnATerminalAndGoesAtTheEnd)
{
    const testing_support::ScratchDir dir;
    for (const bool live : {false, true}) {
        const std::string path = dir.file(live ? "live" : "plain");
        std::FILE* out = std::fopen(path.c_str(), "w");
        ASSERT_NE(out, nullptr);
        LoadProgress progress(out, live);
        progress.addFilesToRead(2);
        progress.print("Reading a ...\n", 1);
        EXPECT_EQ(fileText(path), live ? "Reading files: 0 of 2\r\033[KReading a ...\nReading files: 1 of 2"
                                       : "Reading a ...\n")
            << "each line is out at once";
        progress.print("Reading b ...\n*** b skipped.\n", 1);
        progress.print("Reading c ...\n", 1); // more files than were listed
        progress.finish();
        std::fclose(out);
        EXPECT_EQ(fileText(path), live ? "Reading files: 0 of 2\r\033[KReading a ...\nReading files: 1 of 2"
                                         "\r\033[KReading b ...\n*** b skipped.\nReading files: 2 of 2"
                                         "\r\033[KReading c ...\nReading files: 3 of 3\r\033[K"
                                       : "Reading a ...\nReading b ...\n*** b skipped.\nReading c ...\n");
    }
    EXPECT_EQ(progressIndicator(3, 24, 12'500'000, 2.0), "Reading files: 3 of 24, 6.2 MB/s");
}

TEST(LoadProgress, TheLoadersCountTheirFilesAheadAndAsTheyRead)
{
    const testing_support::ScratchDir dir;
    const long long before = loadProgress().filesToRead(), doneBefore = loadProgress().filesDone();
    ElevationGrid grid;
    testing::internal::CaptureStdout();
    readsrtm30(grid, dir.path(), 10, 56, 11, 58); // six blocks, no tiles there
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(loadProgress().filesToRead() - before, 6);
    EXPECT_EQ(loadProgress().filesDone() - doneBefore, 6);
}

} // namespace
