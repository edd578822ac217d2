#include <gtest/gtest.h>

#include "data/data_file.h"
#include "loader_test_support.h"

namespace {

TEST(DataFile, FindsEachComponentIgnoringCase)
{
    TempDir dir;
    writeFile(dir.path() + "/DATA/5339/533945.MEM", "x");
    EXPECT_EQ(findPathIgnoringCase(dir.path() + "/Data/5339/533945.MeM"), dir.path() + "/DATA/5339/533945.MEM");
    EXPECT_EQ(findPathIgnoringCase(dir.path() + "/data//5339/533945.mem"), dir.path() + "/DATA//5339/533945.MEM");
    EXPECT_EQ(findPathIgnoringCase(dir.path() + "/data/5339/533946.mem"), "");
}

TEST(DataFile, OpensTheExactNameFirstAndAnnouncesThePathOpened)
{
    TempDir dir;
    writeFile(dir.path() + "/n35e139.hgt", "lower");
    writeFile(dir.path() + "/N35E139.hgt", "upper");
    std::string text;
    std::string out = captureStdout([&] {
        const FileHandle exact = openAnnounced(dir.path() + "/N35E139.hgt", "rb", "SRTM3");
        text = exact ? readRest(exact.get()) : "not opened";
        EXPECT_TRUE(openAnnounced(dir.path() + "/n35E139.HGT", "rb", "SRTM3"));
        EXPECT_FALSE(openAnnounced(dir.path() + "/n36e139.hgt", "rb", "SRTM3"));
        EXPECT_FALSE(openAnnounced(dir.path(), "rb", "SRTM3"));  // a directory is no data file
    });
    EXPECT_EQ(text, "upper");
    const std::string& d = dir.path();
    EXPECT_EQ(out, "Reading " + d + "/N35E139.hgt ...\nReading " + d + "/N35E139.hgt ...\n*** SRTM3 : " + d +
                       "/n36e139.hgt not found.\n*** SRTM3 : " + d + " not found.\n");
}

TEST(DataFile, ReadsAtOffsetsAndUpToLimits)
{
    TempDir dir;
    writeFile(dir.path() + "/tile", "0123456789");
    const FileHandle file(std::fopen((dir.path() + "/tile").c_str(), "rb"));
    unsigned char buffer[8] = {};
    EXPECT_EQ(readBytesAt(file.get(), 6, buffer, 8), 4u);
    EXPECT_EQ(buffer[0], '6');
    EXPECT_EQ(readBytesAt(file.get(), 100, buffer, 8), 0u);
    EXPECT_EQ(readBytesAt(file.get(), -1, buffer, 8), 0u);
    EXPECT_EQ(readTextFile(dir.path() + "/tile", 4), "0123");
    EXPECT_EQ(readTextFile(dir.path()), std::nullopt);  // opens, but does not read
}

}  // namespace
