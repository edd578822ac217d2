// The start-up as a user meets it: the built programs run as child processes.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "child_process.h"

namespace {

const std::string orvex = ORVEX_PROGRAM;
const std::string probe = FATAL_ERROR_PROBE;

TEST(OrvexProgram, ACommandLineNamingNoDataSetEndsAtOnceInSilence)
{
    ScratchDir cwd;  // no orvex.col here: reading it would end with a fatal error
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"-gsi50"},
        {"-gsi50", "dir", "533936", "1", "1", "extra"},
        {"-gsi250", "dir", "5339", "1"},
        {"-srtm3", "dir", "0", "0", "0", "0"},
        {"-srtm30", "dir", "0", "0", "0", "0", "0", "s"},
        {"-GSI50", "dir", "533936", "1", "1"},
        {"-gsi50x", "dir", "533936", "1", "1"},
        {"-help"},
    };
    for (const auto& line : lines) {
        std::vector<std::string> words{orvex};
        words.insert(words.end(), line.begin(), line.end());
        const ChildResult result = runChild(words, cwd.path(), "\n");
        ASSERT_TRUE(result.exited);
        EXPECT_EQ(result.exitStatus, 0) << words.size() << " words";
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "");
    }
}

// Each option reaches its own loader: out-of-range numbers bring that
// loader's own message.
TEST(OrvexProgram, EachOptionCallsItsOwnLoader)
{
    ScratchDir cwd;
    const struct {
        std::vector<std::string> line;
        const char* message;
    } cases[] = {
        {{"-gsi50", "dir", "533999", "1", "1"}, "*** ERROR gsi50 : argument.\n"},
        {{"-gsi250", "dir", "5339", "-1", "1"}, "*** ERROR gsi250 : argument.\n"},
        {{"-srtm30", "dir", "30", "0", "30", "0"}, "*** ERROR srtm30 : argument.\n"},
        {{"-srtm3", "dir", "0", "0", "0", "0", "3", "s30"}, "*** ERROR srtm3 : argument.\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words{orvex};
        words.insert(words.end(), c.line.begin(), c.line.end());
        const ChildResult result = runChild(words, cwd.path(), "\n");
        ASSERT_TRUE(result.exited) << c.message;
        EXPECT_EQ(result.exitStatus, 1) << c.message;
        EXPECT_EQ(result.err, c.message);
        EXPECT_EQ(result.out, "Press Enter key...");
    }
}

TEST(OrvexProgram, ReadsTheColourTableAfterTheLoad)
{
    ScratchDir cwd;
    // No SRTM30 tile is no error: the load ends with a flat grid, then the
    // missing orvex.col ends the start-up.
    const ChildResult result = runChild({orvex, "-srtm30", cwd.file("none"), "0", "0", "0", "0"}, cwd.path());
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "*** readcolor-1.\n");
    EXPECT_NE(result.out.find("not found."), std::string::npos) << result.out;
    EXPECT_TRUE(result.out.ends_with("Press Enter key...")) << result.out;
}

TEST(FatalError, WaitsForOneCharacterBeforeEndingWithStatusOne)
{
    ScratchDir cwd;
    ChildProcess child({probe, "*** readcolor-2."}, cwd.path());
    ASSERT_TRUE(child.waitForOutput("Press Enter key...", 20000)) << child.out();
    // The prompt is out and stdin stays open: the child must still be waiting.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(child.running());
    child.writeInput("x");
    const ChildResult result = child.finish(20000);
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "started\nPress Enter key...");
    EXPECT_EQ(result.err, "*** readcolor-2.\n");
}

TEST(FatalError, EndOfInputEndsTheWait)
{
    ScratchDir cwd;
    const ChildResult result = runChild({probe, "*** dem3name-1."}, cwd.path(), "");
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "started\nPress Enter key...");
    EXPECT_EQ(result.err, "*** dem3name-1.\n");
}

TEST(FatalError, WithoutWaitingEndsAtOnceAndStillFlushesOutput)
{
    ScratchDir cwd;
    ChildProcess child({probe, "*** ERROR srtm3 : argument.", "no-wait"}, cwd.path());
    // Standard input stays open and empty: only a tool that does not wait ends.
    const ChildResult result = child.finish(20000);
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "started\n");
    EXPECT_EQ(result.err, "*** ERROR srtm3 : argument.\n");
}

}  // namespace
