// Names, sizes and layouts of the files, read as bytes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>

#include "demo_output.h"
#include "srtm_data.h"

namespace fs = std::filesystem;

TEST(DemoFiles, GsiFilesHoldOneCrLfRecordPerLineAndTheFlagsCountThem)
{
    std::set<std::string> expected, found;
    for (const MapCell& sheet : demoSheets()) {
        const std::string code = std::to_string(secondaryCode(sheet));
        expected.insert(code.substr(0, 4) + "/" + code + ".MEM");
    }
    for (const auto& entry : fs::recursive_directory_iterator(demoDir() / "GSI50M" / "DATA")) {
        if (entry.is_directory())
            continue;
        found.insert(fs::relative(entry.path(), demoDir() / "GSI50M" / "DATA").string());
        // A header, then 200 lines of 9 + 200 x 5 characters, no field padded with blanks.
        const std::string text = readBytes(entry.path());
        const std::size_t headerEnd = text.find("\r\n");
        EXPECT_EQ(text.size(), headerEnd + 2 + 200 * (9 + 1000 + 2)) << entry.path();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 201) << entry.path();
        EXPECT_EQ(text.find(' ', headerEnd), std::string::npos) << entry.path();
    }
    EXPECT_EQ(found, expected);

    for (int code : demoCellCodes) {
        const std::string text =
            readBytes(demoDir() / "GSI250M" / "DATA" / "250M" / (std::to_string(code) + ".SEM"));
        ASSERT_EQ(text.find("\r\n"), 224u + 320u) << code;
        const std::string flags = text.substr(224, 320);
        EXPECT_EQ(flags.find_first_not_of("01"), std::string::npos) << code;
        const auto records = static_cast<std::size_t>(std::count(flags.begin(), flags.end(), '1'));
        EXPECT_EQ(text.size(), 224 + 320 + 2 + records * (9 + 1600 + 2)) << code;
    }
}

TEST(DemoFiles, Srtm3TilesShareTheirEdgesAndHoldVoidsOnLand)
{
    std::string tiles[2][2];
    for (int tr = 0; tr < 2; ++tr)
        for (int tc = 0; tc < 2; ++tc) {
            tiles[tr][tc] = readBytes(demoDir() / "SRTM3" / hgtName(35 - tr, 138 + tc));
            ASSERT_EQ(tiles[tr][tc].size(), 1201u * 1201u * 2u) << hgtName(35 - tr, 138 + tc);
        }
    const auto sample = [](const std::string& tile, int row, int col) {
        return sampleAt(tile, (static_cast<std::size_t>(row) * 1201 + col) * 2);
    };
    for (int k = 0; k < 1201; ++k) {
        ASSERT_EQ(sample(tiles[0][0], 1200, k), sample(tiles[1][0], 0, k)) << k;
        ASSERT_EQ(sample(tiles[0][1], 1200, k), sample(tiles[1][1], 0, k)) << k;
        ASSERT_EQ(sample(tiles[0][0], k, 1200), sample(tiles[0][1], k, 0)) << k;
        ASSERT_EQ(sample(tiles[1][0], k, 1200), sample(tiles[1][1], k, 0)) << k;
    }
    EXPECT_EQ(hgtName(35, 138), "N35E138.hgt");
    EXPECT_EQ(hgtName(-1, -1), "S01W001.hgt");
    // Voids in every tile, never on an edge, never beside the sea (0 m).
    for (const auto& row : tiles)
        for (const std::string& tile : row) {
            int voids = 0;
            for (int r = 0; r < 1201; ++r)
                for (int c = 0; c < 1201; ++c) {
                    if (sample(tile, r, c) != srtmVoid)
                        continue;
                    ++voids;
                    ASSERT_TRUE(r > 0 && c > 0 && r < 1200 && c < 1200) << r << " " << c;
                    for (const auto& [nr, nc] : {std::pair{r - 1, c}, {r + 1, c}, {r, c - 1}, {r, c + 1}})
                        ASSERT_NE(sample(tile, nr, nc), 0) << nr << " " << nc;
                }
            EXPECT_GT(voids, 0);
        }
}

TEST(DemoFiles, Srtm30TileIsSparseWithHolesAroundTheDemoBlock)
{
    const fs::path path = demoDir() / "SRTM30" / "E100N40.DEM";
    EXPECT_EQ(fs::file_size(path), 4800u * 6000u * 2u);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_LT(static_cast<long long>(info.st_blocks) * 512, 8'000'000LL) << "not sparse";
    const std::string bytes = readBytes(path);
    auto sample = [&](int row, int col) {
        return sampleAt(bytes, (static_cast<std::size_t>(row) * 4800 + col) * 2);
    };
    EXPECT_EQ(sample(96, 4560), srtm30Ocean); // 39.2 N 138 E, Sea of Japan
    EXPECT_EQ(sample(600, 1200), 0);          // 35 N 110 E: a hole west of the block
    EXPECT_EQ(sample(2400, 4700), 0);         // 20 N: a hole south of the block
    for (int row = 0; row < 1200; row += 7)
        for (int col = 4200; col < 4800; col += 5)
            ASSERT_TRUE(sample(row, col) == srtm30Ocean || sample(row, col) >= 1) << row << " " << col;
}
