// Every fatal error of the data layer: its message on standard error and
// exit status 1 (standard input is closed, so nothing waits for Enter).
#include <gtest/gtest.h>

#include <climits>

#include "data/colour_file.h"
#include "data/loaders.h"
#include "loader_test_support.h"
#include "state/colour_table.h"
#include "state/grid.h"

using namespace orvex;

namespace {

const std::string nowhere = "/nonexistent-orvex-dir";

std::string message(const std::string& text)
{
    return "^\\*\\*\\* " + text + "\n$";
}

void readColourFile(const std::string& text)
{
    writeFile("orvex.col", text);
    readcolor();
}

TEST(FatalErrorsDeathTest, BadArgumentsEmptyAreasAndBadColourFilesEndTheRun)
{
    ScratchWorkingDir cwd;
    std::string path;
    const std::string gsi50 = message("ERROR gsi50 : argument\\."),
                      gsi250 = message("ERROR gsi250 : argument\\.");
    const std::string srtm30 = message("ERROR srtm30 : argument\\."),
                      srtm3 = message("ERROR srtm3 : argument\\.");
    const std::string noSheets = message("GSI50M : No DEM files\\."),
                      noCells = message("GSI250M : No DEM files\\.");
    const std::string tooLarge = "^\\*\\*\\* .*too large";
    const struct {
        std::function<void()> run;
        std::string pattern;
    } cases[] = {
        {[] { readgsi50(nowhere, 533985, 1, 1); }, gsi50}, // sheet row 8
        {[] { readgsi50(nowhere, 533949, 1, 1); }, gsi50},
        {[] { readgsi50(nowhere, -533945, 1, 1); }, gsi50},
        {[] { readgsi50(nowhere, 533945, 1, 1); }, noSheets},
        {[] { readgsi50(nowhere, 533945, 0, INT_MAX); }, noSheets}, // nothing is allocated
        {[] { readgsi50(nowhere, 533945, -3, 2); }, noSheets},
        {[] { readgsi50(nowhere, 533945, INT_MAX, INT_MAX); }, tooLarge},
        {[] { allocategrid(2000000000, 2000000000, gsi50Constants); }, tooLarge},
        {[] { readgsi250(nowhere, 5339, -1, 0); }, gsi250},
        {[] { readgsi250(nowhere, 5339, 1, -1); }, gsi250},
        {[] { readgsi250(nowhere, 5339, 0, INT_MAX); }, noCells},
        {[] { readgsi250(nowhere, 5339, 1, 1); }, noCells},
        {[] { readsrtm30(nowhere, 0, 0, 30, 0); }, srtm30},
        {[] { readsrtm30(nowhere, 0, 0, 0, 72); }, srtm30},
        {[] { readsrtm30(nowhere, -1, 0, 0, 0); }, srtm30},
        {[] { readsrtm30(nowhere, 5, 0, 4, 0); }, srtm30}, // reversed
        {[] { readsrtm30(nowhere, 0, 9, 0, 8); }, srtm30},
        {[&] { dem30name("d", 3, 0, path); }, message("dem30name-1\\.")},
        {[&] { dem30name("d", 0, 9, path); }, message("dem30name-1\\.")},
        {[] { readsrtm3(nowhere, 0, 0, 0, 0, 3, nowhere); }, srtm3},
        {[] { readsrtm3(nowhere, 0, 0, 0, 0, -1, nowhere); }, srtm3},
        {[] { readsrtm3(nowhere, 0, 0, 300, 0, 0, nowhere); }, srtm3},
        {[] { readsrtm3(nowhere, 0, 0, 0, 720, 0, nowhere); }, srtm3},
        {[] { readsrtm3(nowhere, 2, 0, 1, 0, 0, nowhere); }, srtm3},
        {[&] { dem3name("d", 180, 0, path); }, message("dem3name-1\\.")},
        {[&] { dem3name("d", 0, 360, path); }, message("dem3name-1\\.")},
        {[&] { dem3name("d", -1, 0, path); }, message("dem3name-1\\.")},
        {[] { readcolor(); }, message("readcolor-1\\.")}, // no file
        {[] { readColourFile("2 0\n21\n"); }, message("readcolor-2\\.")},
        {[] { readColourFile("2 0 99999999999999999999"); }, message("readcolor-2\\.")},
        // Last: the children share the working directory. A directory opens, but does not read.
        {[] {
             std::filesystem::remove("orvex.col"), std::filesystem::create_directory("orvex.col"),
                 readcolor();
         },
         message("readcolor-1\\.")},
    };
    for (const auto& c : cases)
        EXPECT_FATAL(c.run(), c.pattern);
}

} // namespace
