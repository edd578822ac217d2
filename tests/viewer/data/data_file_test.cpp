#include <gtest/gtest.h>

#include "data/data_file.h"
#include "loader_test_support.h"

using namespace orvex;

namespace {

TEST(DataFile, OpensTheExactNameFirstThenEachComponentIgnoringCase)
{
    ScratchDir dir;
    writeFile(dir.file("DATA/5339/n35e139.hgt"), "lower");
    writeFile(dir.file("DATA/5339/N35E139.hgt"), "upper");
    std::string text;
    EXPECT_EQ(printed(dir,
                      [&] {
                          const FileHandle exact =
                              openAnnounced(dir.file("DATA/5339/N35E139.hgt"), "rb", "SRTM3");
                          text = exact ? readRest(exact.get()) : "";
                          EXPECT_TRUE(openAnnounced(dir.file("data//5339/N35E139.HGT"), "rb", "SRTM3"));
                          EXPECT_FALSE(openAnnounced(dir.file("data/5339/n36e139.hgt"), "rb", "SRTM3"));
                          EXPECT_FALSE(openAnnounced(dir.file("DATA"), "rb", "SRTM3")); // no data file
                      }),
              "Reading D/DATA/5339/N35E139.hgt ...\nReading D/DATA//5339/N35E139.hgt ...\n"
              "*** SRTM3 : D/data/5339/n36e139.hgt not found.\n*** SRTM3 : D/DATA not found.\n");
    EXPECT_EQ(text, "upper");
    EXPECT_EQ(readTextFile(dir.file("DATA/5339/n35e139.hgt"), 3), "low");
    EXPECT_EQ(readTextFile(dir.path()), std::nullopt); // a directory opens, but does not read
}

} // namespace
