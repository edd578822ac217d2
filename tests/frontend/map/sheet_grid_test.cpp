// The sheet grid and its files: grid-square codes, the Shift-JIS name
// indexes and the coastline.
#include "core/shift_jis.h"
#include "frontend_test.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(MeshCode, GivesTheStandardCodesWhoseCellsTheIndexesFindBack)
{
    // Tokyo and the grid's corners; south-west of the grid division
    // truncates; no overflow at the ends of 32 bits.
    const std::tuple<Mesh, std::int64_t, std::int64_t, std::int64_t> cases[] = {
        {Mesh::gsi250, 19, 14, 5339},    {Mesh::gsi250, 29, 35, 7449},
        {Mesh::gsi50, 158, 116, 533946}, {Mesh::gsi50, 0, 0, 392000},
        {Mesh::gsi50, 239, 287, 744977}, {Mesh::gsi50, -9, -9, 381889},
        {Mesh::gsi250, -1, -1, 3819},    {Mesh::gsi50, 2147483647, 2147483647, 2711198487577}};
    for (const auto& [mesh, x, y, code] : cases)
        EXPECT_EQ(MeshCode(mesh, x, y), code) << int(mesh) << ": " << x << "," << y;
    for (int y = 0; y < kRows50; ++y)
        for (int x = 0; x < kCols50; ++x)
            ASSERT_EQ(cellOfCode50(MeshCode(Mesh::gsi50, x, y)), (MapCell{x, y})) << x << "," << y;
    for (int y = 0; y < kRows250; ++y)
        for (int x = 0; x < kCols250; ++x)
            ASSERT_EQ(cellOfCode250(MeshCode(Mesh::gsi250, x, y)), (MapCell{x, y})) << x << "," << y;
    // Row or column digits 8 and 9 land in the neighbouring square's cells.
    EXPECT_EQ(cellOfCode50(533996), (MapCell{158, 121}));
    for (const std::int64_t outside : {750000LL, 745000LL, 391977LL, -533946LL, 9223372036854775807LL})
        EXPECT_FALSE(cellOfCode50(outside)) << outside;
    for (const std::int64_t outside : {7450LL, 3820LL, 7520LL, 5319LL, 533946LL})
        EXPECT_FALSE(cellOfCode250(outside)) << outside;
}

TEST(IndexFile, IsReadByEachMeshsRuleWithoutItsHeaderOrBadLines)
{
    // Shift-JIS with CR LF, quoted names with commas, lines with no integer
    // code, codes off each table, a line of 100000 characters and broken
    // bytes at the end.
    testing_support::ScratchDir scratch;
    const QString path = writeIn(
        scratch, "ZUMEI.CSV",
        shiftJisLines({"5339,見出し", "533946,東京西北部,a", " 4529 , \"宮古, 区\",b", "4530,\"閉じない",
                       "7420,北端", "7450,東外", "3820,南外", "53.39,小数", "5339a,末尾", "abc,壊れた行", "",
                       "533947,Long" + QString(100000, 'x'), "533900,ﾃｽﾄ"}) +
            QByteArray::fromHex("ff41938c"));
    SheetNameTable table50(kCols50, kRows50), table250(kCols250, kRows250);
    EXPECT_TRUE(readIndexFile(path, Mesh::gsi50, table50));
    EXPECT_TRUE(readIndexFile(path, Mesh::gsi250, table250));
    const QString longName = table50.at(159, 116);
    EXPECT_TRUE(longName.startsWith("Longxxx") && longName.size() > 4000 &&
                longName.size() <= kLongestIndexLine);
    table50.set(159, 116, {});
    QStringList named;
    for (const SheetNameTable* table : {&table50, &table250})
        for (int y = 0; y < table->rows(); ++y)
            for (int x = 0; x < table->cols(); ++x)
                if (!table->at(x, y).isEmpty())
                    named << QStringLiteral("%1,%2 %3").arg(x).arg(y).arg(table->at(x, y));
    EXPECT_EQ(named, (QStringList{"152,112 ﾃｽﾄ", "158,116 東京西北部", "9,6 宮古, 区", "10,6 閉じない",
                                  "0,35 北端"}));
    EXPECT_EQ(indexPath("..\\data\\GSI50M"), QStringLiteral("../data/GSI50M/ZUMEI.CSV"));
    // The iconv fallback reads the same, marking what it cannot.
    EXPECT_EQ(decodeShiftJisWithIconv(QByteArray::fromHex("938c8b9e8740b141ff41")),
              QStringLiteral("東京①ｱA\uFFFDA"));
}

TEST(ReadMapName, WarnsOnceWhenNeitherIndexExistsButReadsOneWhenTheOtherFails)
{
    testing_support::ScratchDir scratch(testing_support::ScratchDir::Enter::yes);
    QDir().mkpath("work/d50/ZUMEI.CSV"); // exists, but a folder cannot be read
    QDir::setCurrent("work");
    MessageRecorder recorder;
    MapState none; // "../GSI50M" and "../GSI250M": both missing, so the codes
    ReadMapName(none);
    EXPECT_EQ(recorder.texts(), QStringList{"ZUMEI.CSVファイルがありません。"});
    EXPECT_EQ(recorder.shown.at(0).icon, MessageIcon::Warning);
    EXPECT_EQ(none.sheetName50.at(158, 116) + none.sheetName250.at(19, 14), QStringLiteral("5339465339"));
    writeIn(scratch, "GSI250M/ZUMEI.CSV", shiftJisLines({"コード,図名", "5339,東京"}));
    MapState unreadable;
    unreadable.dataDir50 = "d50";
    ReadMapName(unreadable);
    EXPECT_EQ(unreadable.sheetName50.at(158, 116) + unreadable.sheetName250.at(19, 14),
              QStringLiteral("東京"));
    EXPECT_EQ(recorder.shown.size(), 1u);
}

TEST(Coastline, PolylinesBecomeSegmentsInFileOrderOrNoneOnAnyError)
{
    // Polylines of 3, 2, 0, -3, 1 and 4 points, with every separator the file uses.
    const auto segments = parseCoast("3\r\n130,30\r\n131 , 31\r\n132,32\r\n2 140.5 40.25 141 41\n"
                                     "0\r\n-3\r\n1\r\n135,35\r\n4,1,2,3,4,5,6,7,8\r\n");
    ASSERT_TRUE(segments && segments->size() == 6u);
    const CoastSegment& first = (*segments)[0];
    EXPECT_EQ(
        (std::array{first.lon1, first.lat1, first.lon2, first.lat2, (*segments)[1].lon2, (*segments)[2].lat1,
                    (*segments)[3].lon1, (*segments)[5].lat2}),
        (std::array{130.f, 30.f, 131.f, 31.f, 132.f, 40.25f, 1.f, 8.f})); // the 1-point polyline gave none
    // Malformed number, end inside a polyline, count no integer, no finite
    // number, beyond single precision, a count never used for storage.
    for (const char* broken :
         {"2\r\n130,30\r\n131,3x\r\n", "2\r\n130,30\r\n131,31\r\n3\r\n1,2\r\n", "2.5\r\n130,30\r\n131,31\r\n",
          "2\r\n130,30\r\nnan,31\r\n", "2\r\n130,30\r\n1e99,31\r\n", "2000000000\r\n130,30\r\n131,31\r\n"})
        EXPECT_FALSE(parseCoast(broken)) << broken;
    testing_support::ScratchDir scratch(testing_support::ScratchDir::Enter::yes);
    MapState state;
    for (const auto& [text, count] : {std::pair("3\r\n139,35\r\n139.5,35.5\r\n140,36\r\n", 4u),
                                      std::pair("3\r\n139,35\r\n139.5,35.5\r\n", 0u)}) {
        writeIn(scratch, "JapanCoast.txt", text);
        ReadCoast(state);
        EXPECT_EQ(state.coastCount + state.coastSegments.size(), count) << text;
    }
}
