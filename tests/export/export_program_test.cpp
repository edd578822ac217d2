// orvex-export as a user runs it, and what GDAL makes of its output.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "child_process.h"

namespace {

const std::string exporter = ORVEX_EXPORT_PROGRAM;

std::string contents(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

float littleEndianFloat(const std::string& bytes, std::size_t index)
{
    std::uint32_t bits = 0;
    for (int b = 3; b >= 0; --b)
        bits = bits << 8 | static_cast<unsigned char>(bytes.at(4 * index + b));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// An SRTM3 tile whose samples are (7 r + 3 c) mod 2000 + 1, with one void.
std::string syntheticTile(int voidRow, int voidCol)
{
    std::string bytes(1201 * 1201 * 2, '\0');
    for (int r = 0; r < 1201; ++r) {
        for (int c = 0; c < 1201; ++c) {
            const int value = (r == voidRow && c == voidCol) ? -32768 : (7 * r + 3 * c) % 2000 + 1;
            const std::uint16_t bits = static_cast<std::uint16_t>(value);
            bytes[2 * (1201 * r + c)] = static_cast<char>(bits >> 8);
            bytes[2 * (1201 * r + c) + 1] = static_cast<char>(bits & 0xFF);
        }
    }
    return bytes;
}

bool haveGdal() { return std::system("command -v gdalinfo >/dev/null 2>&1 && command -v gdal_translate >/dev/null 2>&1") == 0; }

TEST(ExportProgram, AnUnknownCommandLineGivesUsageAndStatusTwo)
{
    ScratchDir dir;
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"out"},
        {"-gsi50", "dir", "533936", "1", "1"},  // no OUT
        {"out", "-gsi50", "dir", "533936", "1"},
        {"out", "-GSI250", "dir", "5339", "1", "1"},
        {"out", "-srtm3", "dir", "0", "0", "0", "0", "0"},
    };
    for (const auto& line : lines) {
        std::vector<std::string> words{exporter};
        words.insert(words.end(), line.begin(), line.end());
        const ChildResult result = runChild(words, dir.path());
        ASSERT_TRUE(result.exited);
        EXPECT_EQ(result.exitStatus, 2) << words.size() << " words";
        EXPECT_TRUE(result.err.starts_with("usage: orvex-export OUT")) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(ExportProgram, LoaderErrorsEndAtOnceWithoutWaitingForEnter)
{
    ScratchDir dir;
    ChildProcess child({exporter, dir.file("out"), "-srtm3", "dir", "0", "0", "0", "0", "3", "s30"}, dir.path());
    // Standard input stays open: a program that waited for Enter would be killed.
    const ChildResult result = child.finish(20000);
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "*** ERROR srtm3 : argument.\n");
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(ExportProgram, WritesValidSamplesAndNoDataForVoidsAndMissingTiles)
{
    ScratchDir dir;
    // Block row 109, columns 639 and 640: the south-east quarter of n35e139
    // and the south-west quarter of the missing n35e140. Tile row 700,
    // column 900 is grid row 100, column 300.
    dir.write("n35e139.hgt", syntheticTile(700, 900));
    const ChildResult result =
        runChild({exporter, dir.file("area"), "-srtm3", dir.path(), "109", "639", "109", "640", "0", dir.path()},
                 dir.path());
    ASSERT_TRUE(result.exited);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("Reading " + dir.file("n35e139.hgt") + " ..."), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("*** SRTM3 : "), std::string::npos) << result.out;

    const std::string header = contents(dir.file("area.hdr"));
    EXPECT_NE(header.find("NROWS 601\n"), std::string::npos) << header;
    EXPECT_NE(header.find("NCOLS 1201\n"), std::string::npos) << header;
    EXPECT_NE(header.find("ULXMAP 139.5\n"), std::string::npos) << header;
    EXPECT_NE(header.find("ULYMAP 35.5\n"), std::string::npos) << header;

    const std::string samples = contents(dir.file("area.flt"));
    ASSERT_EQ(samples.size(), 601u * 1201u * 4u);
    auto at = [&](int r, int c) { return littleEndianFloat(samples, 1201u * r + c); };
    auto tile = [](int r, int c) { return static_cast<float>((7 * r + 3 * c) % 2000 + 1); };
    EXPECT_EQ(at(0, 0), tile(600, 600));
    EXPECT_EQ(at(600, 600), tile(1200, 1200));  // the shared edge column came from the tile
    EXPECT_EQ(at(123, 456), tile(723, 1056));
    EXPECT_EQ(at(100, 300), -32768.0f);  // void, left unfilled in mode 0
    EXPECT_EQ(at(0, 601), -32768.0f);    // no tile read
    EXPECT_EQ(at(600, 1200), -32768.0f);
}

TEST(ExportProgram, RealSrtm3TileMatchesWhatGdalReads)
{
    const std::string dataDir = std::string(SHARED_DATA_DIR) + "/srtm3-sample";
    if (!std::filesystem::exists(dataDir + "/N44W072.hgt"))
        GTEST_SKIP() << "the SRTM3 sample tile is not in " << dataDir;
    if (!haveGdal())
        GTEST_SKIP() << "GDAL's gdalinfo and gdal_translate are not installed (gdal-bin)";

    ScratchDir dir;
    // 44-45 N, 72-71 W: block rows 90-91, block columns 216-217.
    const ChildResult result = runChild(
        {exporter, dir.file("ours"), "-srtm3", dataDir, "90", "216", "91", "217", "0", dataDir}, dir.path(),
        "", 120000);
    ASSERT_TRUE(result.exited);
    ASSERT_EQ(result.exitStatus, 0) << result.out << result.err;

    const std::string reference = dir.file("gdal.flt");
    const std::string translate = "gdal_translate -q -of EHdr -ot Float32 '" + dataDir + "/N44W072.hgt' '" +
                                  reference + "'";
    ASSERT_EQ(std::system(translate.c_str()), 0) << translate;
    ASSERT_NE(contents(dir.file("gdal.hdr")).find("BYTEORDER      I"), std::string::npos);

    const std::string ours = contents(dir.file("ours.flt"));
    const std::string theirs = contents(reference);
    ASSERT_EQ(ours.size(), 1201u * 1201u * 4u);
    ASSERT_EQ(theirs.size(), ours.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < 1201u * 1201u; ++i)
        differing += littleEndianFloat(ours, i) != littleEndianFloat(theirs, i);
    EXPECT_EQ(differing, 0u);
    // Mount Washington, the tile's highest sample.
    EXPECT_EQ(littleEndianFloat(ours, 875u * 1201u + 836u), 1908.0f);

    // GDAL opens our header with the right size, corner, steps and no-data value.
    const std::string info = dir.file("info.txt");
    ASSERT_EQ(std::system(("gdalinfo '" + dir.file("ours.flt") + "' > '" + info + "'").c_str()), 0);
    const std::string text = contents(info);
    EXPECT_NE(text.find("Driver: EHdr/"), std::string::npos) << text;
    EXPECT_NE(text.find("Size is 1201, 1201"), std::string::npos) << text;
    EXPECT_NE(text.find("Origin = (-72.000416666666666,45.000416666666666)"), std::string::npos) << text;
    EXPECT_NE(text.find("Pixel Size = (0.000833333333333,-0.000833333333333)"), std::string::npos) << text;
    EXPECT_NE(text.find("NoData Value=-32768"), std::string::npos) << text;
    EXPECT_NE(text.find("Type=Float32"), std::string::npos) << text;
}

}  // namespace
