#include <gtest/gtest.h>

#include "data/data_file.h"
#include "loader_test_support.h"

namespace {

TEST(DataFile, FindsEachComponentIgnoringCase)
{
    TempDir dir;
    writeFile(dir.path() + "/DATA/5339/533945.MEM", "x");
    EXPECT_EQ(findPathIgnoringCase(dir.path() + "/data/5339/533945.mem"), dir.path() + "/DATA/5339/533945.MEM");
    EXPECT_EQ(findPathIgnoringCase(dir.path() + "/Data/5339/533945.MeM"), dir.path() + "/DATA/5339/533945.MEM");
    EXPECT_EQ(findPathIgnoringCase(dir.path() + "/data/5339/533946.mem"), "");
    EXPECT_EQ(findPathIgnoringCase(dir.path() + "/data//5339/533945.mem"), dir.path() + "/DATA//5339/533945.MEM");
}

TEST(DataFile, OpensTheExactNameFirstAndReportsThePathOpened)
{
    TempDir dir;
    writeFile(dir.path() + "/n35e139.hgt", "lower");
    writeFile(dir.path() + "/N35E139.hgt", "upper");
    writeFile(dir.path() + "/E100N40.DEM", "srtm30");
    std::string opened;
    FileHandle exact = openDataFile(dir.path() + "/N35E139.hgt", "rb", opened);
    ASSERT_TRUE(exact);
    EXPECT_EQ(opened, dir.path() + "/N35E139.hgt");
    EXPECT_EQ(readRest(exact.get()), "upper");

    FileHandle other = openDataFile(dir.path() + "/e100n40.dem", "rb", opened);
    ASSERT_TRUE(other);
    EXPECT_EQ(opened, dir.path() + "/E100N40.DEM");

    opened = "unchanged";
    EXPECT_FALSE(openDataFile(dir.path() + "/w180n90.dem", "rb", opened));
    EXPECT_FALSE(openDataFile(dir.path(), "rb", opened));  // a directory is no data file
    EXPECT_EQ(opened, "unchanged");
}

TEST(DataFile, ReadsAtOffsetsAndReportsShortReads)
{
    TempDir dir;
    writeFile(dir.path() + "/tile", "0123456789");
    std::string opened;
    FileHandle file = openDataFile(dir.path() + "/tile", "rb", opened);
    ASSERT_TRUE(file);
    unsigned char buffer[8] = {};
    EXPECT_EQ(readBytesAt(file.get(), 6, buffer, 8), 4u);
    EXPECT_EQ(buffer[0], '6');
    EXPECT_EQ(readBytesAt(file.get(), 100, buffer, 8), 0u);
    EXPECT_EQ(readBytesAt(file.get(), -1, buffer, 8), 0u);
}

}  // namespace
