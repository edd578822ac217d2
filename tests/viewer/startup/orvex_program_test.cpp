// The start-up as a user meets it: the built programs run through the shell.
#include <gtest/gtest.h>

#include <algorithm>

#include "program_run.h"

using testing_support::ScratchDir;

namespace {

const std::string orvex = "'" + std::string(ORVEX_PROGRAM) + "' ";

TEST(OrvexProgram, ACommandLineOfNoKnownFormPrintsTheUsageAndEndsWithStatusTwo)
{
    ScratchDir cwd; // no orvex.col here: reading it would be a fatal error
    for (const char* words :
         {"", "--help", "-h", "-gsi50 d 533936 1 1 extra", "-gsi250 d 5339 1", "-srtm3 d 0 0 0 0",
          "-srtm30 d 0 0 0 0 0 s", "-GSI50 d 533936 1 1", "--version x"}) {
        const ProgramRun run = runInShell(cwd.path(), orvex + words);
        EXPECT_EQ(std::tuple(run.status, run.out), std::tuple(2, "")) << words;
        // One line for each form, every option the viewer takes among them.
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 8) << run.err;
        for (const char* form :
             {"usage: orvex -gsi50  DIR CODE ROWS COLS\n", "-gsi250 DIR CODE ROWS COLS\n",
              "-srtm30 DIR NORTH WEST SOUTH EAST\n", "-srtm3  DIR NORTH WEST SOUTH EAST MODE SRTM30DIR\n",
              "-fgd10  DIR CODE ROWS COLS\n", "-fgd5   DIR CODE ROWS COLS\n",
              "-gdal   SOURCE NORTH WEST SOUTH EAST\n", "orvex --version\n"})
            EXPECT_NE(run.err.find(form), std::string::npos) << words << ": " << form;
    }
    const ProgramRun version = runInShell(cwd.path(), orvex + "--version");
    EXPECT_EQ(std::tuple(version.status, version.out, version.err), std::tuple(0, "orvex 2.0\n", ""));
}

TEST(OrvexProgram, ProgressLinesGoThroughAPipeAsTheyArePrinted)
{
    ScratchDir cwd;
    // The missing sheet's line is awaited while orvex waits for Enter after
    // its fatal error: held back, it would come only at the end.
    runInShell(cwd.path(), "{ " + waitInShellFor("not found", "out") +
                               "; grep -c 'not found' out > seen; printf x; } | { " + orvex +
                               "-gsi50 nowhere 533946 1 1; echo $? > status; } | cat > out");
    EXPECT_EQ(testing_support::fileText(cwd.file("status")), "1\n");
    EXPECT_EQ(testing_support::fileText(cwd.file("seen")), "1\n");
    EXPECT_EQ(testing_support::fileText(cwd.file("out")),
              "*** GSI50M : nowhere/DATA/5339/533946.MEM not found.\nPress Enter key...");
}

TEST(OrvexProgram, EachOptionCallsItsOwnLoaderThenReadsTheColours)
{
    ScratchDir cwd;
    const std::pair<const char*, const char*> cases[] = {
        {"-gsi50 d 533999 1 1", "*** ERROR gsi50 : argument.\n"},
        {"-srtm3 d 0 0 0 0 3 s30", "*** ERROR srtm3 : argument.\n"},
        {"-srtm30 d 0 0 0 0", "*** readcolor-1.\n"}, // no tile is no error; no orvex.col is
    };
    for (const auto& [words, message] : cases) {
        const ProgramRun run = runInShell(cwd.path(), orvex + words);
        EXPECT_EQ(std::tuple(run.status, run.err), std::tuple(1, message)) << words;
        EXPECT_TRUE(run.out.ends_with("Press Enter key...")) << run.out;
    }
}

TEST(FatalError, WaitsForOneCharacterThenEndsWithStatusOne)
{
    ScratchDir cwd;
    // The character is sent once the prompt is out: a probe that did not wait
    // would have logged its end before.
    const ProgramRun run = runInShell(
        cwd.path(), "{ " + waitInShellFor("Enter", "out") + "; echo sent >> log; printf x; } | { '" +
                        FATAL_ERROR_PROBE + "' '*** dem3name-1.' > out; echo $? >> log; }");
    EXPECT_EQ(testing_support::fileText(cwd.file("out")), "started\nPress Enter key...");
    EXPECT_EQ(run.err, "*** dem3name-1.\n");
    EXPECT_EQ(testing_support::fileText(cwd.file("log")), "sent\n1\n");
    // End of input ends the wait as well.
    EXPECT_EQ(runInShell(cwd.path(), "'" + std::string(FATAL_ERROR_PROBE) + "' x < /dev/null").status, 1);
}

} // namespace
