// The map's files replaced by a directory, an empty file, random bytes or a
// 2 GiB file of zeros, and an index with a line of 100 000 characters.
#include "../../hostile_files.h"
#include "test_files.h"

#include <gtest/gtest.h>

using namespace skyloom;

namespace {

class HostileMapFile : public testing::TestWithParam<Hostile> {};

TEST_P(HostileMapFile, IndexAndCoastlineReadNothingInBoundedMemory)
{
    ScratchDirectory dir;
    layHostile(GetParam(), "ZUMEI.CSV");
    layHostile(GetParam(), "JapanCoast.txt");
    SheetNameTable names(kCols50, kRows50);
    const bool indexRead = readIndexFile(QStringLiteral("ZUMEI.CSV"), Mesh::gsi50, names);
    MapState state;
    ReadCoast(state);
    EXPECT_LT(peakResidentMiB(), kMostMiBForAHostileFile);
    EXPECT_EQ(state.coastCount, 0);
    EXPECT_TRUE(state.coastSegments.empty());
    if (GetParam() == Hostile::randomBytes)
        return; // a random line may hold a code and a name
    EXPECT_EQ(namedCells(names), 0);
    // An empty index is a good one; no other of these is.
    EXPECT_EQ(indexRead, GetParam() == Hostile::empty);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, HostileMapFile, everyHostileKind, hostileTestName);

TEST(HostileMapFile, AnIndexLineOf100000CharactersKeepsItsStartAndTheLinesAroundIt)
{
    ScratchDirectory dir;
    const QByteArray longName = "Long" + QByteArray(100000, 'x');
    dir.write(QStringLiteral("ZUMEI.CSV"),
              "code,name\r\n533945,Before\r\n533946," + longName + ",rest\r\n533947,After\r\n");
    SheetNameTable names(kCols50, kRows50);
    EXPECT_TRUE(readIndexFile(QStringLiteral("ZUMEI.CSV"), Mesh::gsi50, names));
    EXPECT_EQ(names.at(157, 116), QStringLiteral("Before"));
    EXPECT_EQ(names.at(159, 116), QStringLiteral("After"));
    const QString& kept = names.at(158, 116);
    EXPECT_TRUE(kept.startsWith(QStringLiteral("Longxxx")));
    EXPECT_TRUE(kept.size() > 4000 && kept.size() <= kLongestIndexLine) << kept.size();
}

} // namespace
