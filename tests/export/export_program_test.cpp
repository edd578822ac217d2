// orvex-export as a user runs it, and what GDAL makes of its output.
#include <gtest/gtest.h>

#include <cstring>

#include "program_run.h"

namespace {

const std::string exporter = ORVEX_EXPORT_PROGRAM;

float sample(const std::string& bytes, std::size_t index)  // little-endian float32
{
    unsigned char b[4];
    std::memcpy(b, bytes.data() + 4 * index, 4);
    const std::uint32_t bits = b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

TEST(ExportProgram, AnUnknownCommandLineGivesUsageAndStatusTwo)
{
    ScratchDir dir;
    for (const char* words : {"", "out", "-gsi50 d 533936 1 1", "out -gsi50 d 533936 1", "out -GSI250 d 5339 1 1",
                              "out -srtm3 d 0 0 0 0 0"}) {
        const ProgramRun run = runInShell(dir.path(), "'" + exporter + "' " + words);
        EXPECT_EQ(run.status, 2) << words;
        EXPECT_TRUE(run.err.starts_with("usage: orvex-export OUT")) << run.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(ExportProgram, LoaderErrorsEndAtOnceWithoutWaitingForEnter)
{
    ScratchDir dir;
    // Input stays open for half a second: a program that waited would log last.
    const ProgramRun run = runInShell(dir.path(), "{ sleep 0.5; echo sent >> log; } | { '" + exporter +
                                                      "' out -srtm3 d 0 0 0 0 3 s30; echo $? >> log; }");
    EXPECT_EQ(run.err, "*** ERROR srtm3 : argument.\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(contents(dir.file("log")), "1\nsent\n");
}

TEST(ExportProgram, RealSrtm3TileMatchesWhatGdalReads)
{
    const std::string tileDir = std::string(SHARED_DATA_DIR) + "/srtm3-sample";
    if (!std::filesystem::exists(tileDir + "/N44W072.hgt"))
        GTEST_SKIP() << "the SRTM3 sample tile is not in " << tileDir;
    if (std::system("command -v gdalinfo gdal_translate >/dev/null") != 0)
        GTEST_SKIP() << "GDAL's gdalinfo and gdal_translate are not installed (package gdal-bin)";

    ScratchDir dir;
    // 44-45 N, 72-71 W: block rows 90-91, block columns 216-217, no void filling.
    const ProgramRun run = runInShell(dir.path(), "'" + exporter + "' ours -srtm3 '" + tileDir +
                                                      "' 90 216 91 217 0 . && gdalinfo ours.flt && "
                                                      "gdal_translate -q -of EHdr -ot Float32 '" +
                                                      tileDir + "/N44W072.hgt' gdal.flt");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    for (const char* line : {"Driver: EHdr/", "Size is 1201, 1201", "Origin = (-72.000416666666666,45.000416666666666)",
                             "Pixel Size = (0.000833333333333,-0.000833333333333)", "NoData Value=-32768",
                             "Type=Float32"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;

    const std::string ours = contents(dir.file("ours.flt"));
    const std::string theirs = contents(dir.file("gdal.flt"));
    ASSERT_NE(contents(dir.file("gdal.hdr")).find("BYTEORDER      I"), std::string::npos);
    ASSERT_EQ(ours.size(), 1201u * 1201u * 4u);
    ASSERT_EQ(theirs.size(), ours.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < 1201u * 1201u; ++i)
        differing += sample(ours, i) != sample(theirs, i);
    EXPECT_EQ(differing, 0u);
    EXPECT_EQ(sample(ours, 875u * 1201u + 836u), 1908.0f);  // Mount Washington
}

}  // namespace
