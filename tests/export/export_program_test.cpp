// orvex-export as a user runs it, and what GDAL makes of its output.
#include <gtest/gtest.h>

#include <cstring>

#include "program_run.h"

using namespace orvex;

namespace {

const std::string exporter = "'" + std::string(ORVEX_EXPORT_PROGRAM) + "' ";

TEST(ExportProgram, AnUnknownCommandLineGivesUsageAndALoaderErrorEndsAtOnce)
{
    ScratchDir dir;
    for (const char* words : {"", "-gsi50 d 533936 1 1", "out -gsi50 d 533936 1", "out -GSI250 d 5339 1 1"}) {
        const ProgramRun run = runInShell(dir.path(), exporter + words);
        EXPECT_EQ(run.status, 2) << words;
        EXPECT_TRUE(run.err.starts_with("usage: orvex-export OUT")) << run.err;
    }
    // Input stays open for half a second: a program that waited for Enter would log last.
    const ProgramRun run = runInShell(dir.path(), "{ sleep 0.5; echo sent >> log; } | { " + exporter +
                                                      "out -srtm3 d 0 0 0 0 3 s; echo $? >> log; }");
    EXPECT_EQ(run.out + run.err, "*** ERROR srtm3 : argument.\n");
    EXPECT_EQ(fileText(dir.file("log")), "1\nsent\n");
}

TEST(ExportProgram, RealSrtm3TileMatchesWhatGdalReads)
{
    const std::string tileDir = std::string(SHARED_DATA_DIR) + "/srtm3-sample";
    if (!std::filesystem::exists(tileDir + "/N44W072.hgt"))
        GTEST_SKIP() << "the SRTM3 sample tile is not in " << tileDir;
    if (std::system("command -v gdalinfo gdal_translate >/dev/null") != 0)
        GTEST_SKIP() << "GDAL's gdalinfo and gdal_translate are not installed (package gdal-bin)";
    ScratchDir dir;
    // 44 to 45 N, 72 to 71 W: blocks 90 .. 91 by 216 .. 217, no void filling.
    const ProgramRun run = runInShell(dir.path(), exporter + "ours -srtm3 '" + tileDir +
                                                      "' 90 216 91 217 0 . && gdalinfo ours.flt && "
                                                      "gdal_translate -q -of EHdr -ot Float32 '" +
                                                      tileDir + "/N44W072.hgt' gdal.flt");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    for (const char* line :
         {"Driver: EHdr/", "Size is 1201, 1201", "Origin = (-72.000416666666666,45.000416666666666)",
          "Pixel Size = (0.000833333333333,-0.000833333333333)", "NoData Value=-32768", "Type=Float32"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    const std::string ours = fileText(dir.file("ours.flt")), theirs = fileText(dir.file("gdal.flt"));
    ASSERT_NE(fileText(dir.file("gdal.hdr")).find("BYTEORDER      I"),
              std::string::npos); // little-endian too
    ASSERT_EQ(ours.size(), 1201u * 1201u * 4u);
    EXPECT_TRUE(ours == theirs) << "the samples differ";
    float washington; // Mount Washington
    std::memcpy(&washington, ours.data() + 4 * (875 * 1201 + 836), 4);
    EXPECT_EQ(washington, 1908.0f);
}

} // namespace
