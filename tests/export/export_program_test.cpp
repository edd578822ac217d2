// orvex-export as a user runs it, and what GDAL makes of its output.
#include <gtest/gtest.h>

#include <filesystem>

#include "program_run.h"

using testing_support::fileText;

static const std::string exporter = "'" + std::string(ORVEX_EXPORT_PROGRAM) + "' ";

TEST(ExportProgram, UsageOrLoaderErrorsEndAtOnce)
{
    testing_support::ScratchDir dir;
    for (const char* words : {"", "-gsi50 d 533936 1 1", "out -gsi50 d 533936 1", "out -GSI250 d 5339 1 1"})
        EXPECT_EQ(runInShell(dir.path(), exporter + words).status, 2) << words;
    EXPECT_TRUE(runInShell(dir.path(), exporter).err.starts_with("usage: orvex-export OUT"));
    // Input is sent once the exporter has ended, or after five seconds: an
    // exporter that waited for Enter would log its end last.
    const ProgramRun run =
        runInShell(dir.path(), "{ " + waitInShellFor("1", "log") + "; echo sent >> log; } | { " + exporter +
                                   "out -srtm3 d 0 0 0 0 3 s; echo $? >> log; }");
    EXPECT_EQ(std::pair(run.out + run.err, fileText(dir.file("log"))),
              std::pair(std::string("*** ERROR srtm3 : argument.\n"), std::string("1\nsent\n")));
}

TEST(ExportProgram, RealSrtm3TileMatchesWhatGdalReads)
{
    const std::string tiles = std::string(SHARED_DATA_DIR) + "/srtm3-sample", tile = tiles + "/N44W072.hgt";
    if (!std::filesystem::exists(tile) || std::system("command -v gdal_translate >/dev/null") != 0)
        GTEST_SKIP() << "needs " << tile << " and GDAL (package gdal-bin)";
    testing_support::ScratchDir dir; // 44 to 45 N, 72 to 71 W: blocks 90 .. 91 by 216 .. 217, no void filling
    const std::string translate = " && gdalinfo ours.flt && gdal_translate -q -of EHdr -ot Float32 " + tile;
    const ProgramRun run = runInShell(dir.path(), exporter + "ours -srtm3 " + tiles + " 90 216 91 217 0 ." +
                                                      translate + " gdal.flt");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    for (const char* line : {"Origin = (-72.000416666666666,45.000416666666666)",
                             "Pixel Size = (0.000833333333333,-0.000833333333333)", "NoData Value=-32768"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    const std::string ours = fileText(dir.file("ours.flt"));
    EXPECT_TRUE(ours.size() == 1201 * 1201 * 4 && ours == fileText(dir.file("gdal.flt"))) << "samples differ";
}
