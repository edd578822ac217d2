// The sheet grid and its files: grid-square codes, the Shift-JIS name
// indexes and the coastline.
#include "core/shift_jis.h"
#include "test_files.h"

#include <QDir>
#include <gtest/gtest.h>
#include <limits>

using namespace skyloom;

TEST(MeshCode, GivesTheStandardCodesAtTheGridsEdgesAndEachIndexItsCellBack)
{
    // Off the grid the formula runs on with truncating div and mod, in 64 bits.
    const std::int64_t big = std::numeric_limits<int>::max();
    const std::array<std::int64_t, 4> codes[] = {
        {int(Mesh::gsi250), 19, 14, 5339},
        {int(Mesh::gsi250), 29, 35, 7449},
        {int(Mesh::gsi50), 158, 116, 533946},
        {int(Mesh::gsi50), 0, 0, 392000},
        {int(Mesh::gsi50), 239, 287, 744977},
        {int(Mesh::gsi50), -9, -9, 381889},
        {int(Mesh::gsi250), -1, -1, 3819},
        {int(Mesh::gsi50), big, big, (big / 8 + 39) * 10000 + (big / 8 + 20) * 100 + 77}};
    for (const auto& [mesh, x, y, code] : codes)
        EXPECT_EQ(MeshCode(Mesh(mesh), x, y), code) << x << "," << y;

    for (int y = 0; y < kRows50; ++y)
        for (int x = 0; x < kCols50; ++x)
            ASSERT_EQ(cellOfCode50(MeshCode(Mesh::gsi50, x, y)), (MapCell{x, y})) << x << "," << y;
    for (int y = 0; y < kRows250; ++y)
        for (int x = 0; x < kCols250; ++x)
            ASSERT_EQ(cellOfCode250(MeshCode(Mesh::gsi250, x, y)), (MapCell{x, y})) << x << "," << y;
    // Row or column digits 8 and 9 land in the neighbouring square's cells.
    EXPECT_EQ(cellOfCode50(533948), cellOfCode50(534040));
    EXPECT_EQ(cellOfCode50(533996), (MapCell{158, 121}));
    for (const std::int64_t outside : {750000LL, 745000LL, 391977LL, -533946LL, 9223372036854775807LL})
        EXPECT_FALSE(cellOfCode50(outside)) << outside;
    for (const std::int64_t outside : {7450LL, 3820LL, 7520LL, 5319LL, 533946LL})
        EXPECT_FALSE(cellOfCode250(outside)) << outside;
}

TEST(ShiftJis, BothDecodersReadTheIndexEncodingAndMarkBrokenBytes)
{
    // "東京" "①" (a CP932 extension) "ｱ" (half-width) "A"; then an invalid
    // byte and a lead byte cut off at the end.
    const QByteArray sample = QByteArray::fromHex("938c8b9e8740b141");
    const QByteArray broken = QByteArray::fromHex("ff41938c8b");
    for (const auto decode : {decodeShiftJis, decodeShiftJisWithIconv}) {
        EXPECT_EQ(decode(sample), QStringLiteral("東京①ｱA"));
        EXPECT_TRUE(decode(broken).contains(QStringLiteral("A東"))) << decode(broken).toStdString();
        EXPECT_FALSE(decode(broken).contains(u'\0'));
    }
    EXPECT_TRUE(decodeShiftJisWithIconv(broken).contains(QChar(0xFFFD)));
}

TEST(IndexFile, ReadsShiftJisByEachMeshsRuleSkippingHeaderAndBadLines)
{
    const std::pair<QString, QString> lines[] = {{"533946,東京西北部,とうきょう,x\r\n", "東京西北部"},
                                                 {" 5339 ,  \"東京, 区部\" ,x\r", "東京, 区部"},
                                                 {"5339,\"閉じない\r\n", "閉じない"},
                                                 {"5339\r\n", ""}};
    for (const auto& [line, name] : lines)
        EXPECT_EQ(parseIndexLine(line).value_or(IndexEntry{0, "(none)"}).name, name);
    for (const char* bad : {"コード,図名", "5339a,名", "53.39,名", ",名", "\r\n", "99999999999999999999,名"})
        EXPECT_FALSE(parseIndexLine(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(indexPath("..\\data\\GSI50M"), QStringLiteral("../data/GSI50M/ZUMEI.CSV"));

    ScratchDirectory scratch;
    const QString path =
        scratch.write("ZUMEI.CSV", shiftJisLines({"5339,見出し", "533946,東京西北部,a", "4529,\"宮古\",b",
                                                  "7420,北端", "7450,東外", "3820,南外", "abc,壊れた行", "",
                                                  "533900,ﾃｽﾄ", "4529,宮古2"}) +
                                       QByteArray::fromHex("ff41938c"));
    SheetNameTable table50(kCols50, kRows50);
    EXPECT_TRUE(readIndexFile(path, Mesh::gsi50, table50));
    EXPECT_EQ(table50.at(158, 116), QStringLiteral("東京西北部"));
    EXPECT_EQ(table50.at(152, 112), QStringLiteral("ﾃｽﾄ"));
    EXPECT_EQ(namedCells(table50), 2);
    SheetNameTable table250(kCols250, kRows250);
    EXPECT_TRUE(readIndexFile(path, Mesh::gsi250, table250));
    EXPECT_EQ(table250.at(9, 6), QStringLiteral("宮古2")); // a later line wins
    EXPECT_EQ(table250.at(0, 35), QStringLiteral("北端"));
    EXPECT_EQ(namedCells(table250), 2); // the header's 5339 is not read
}

TEST(ReadMapName, WarnsOnceWhenNeitherIndexExistsAndAFailingOneNeverStopsTheOther)
{
    ScratchDirectory scratch;
    QDir().mkdir("work");
    QDir::setCurrent("work");
    MessageRecorder recorder;
    MapState none; // "../GSI50M" and "../GSI250M": both missing
    ReadMapName(none);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, QStringLiteral("ZUMEI.CSVファイルがありません。"));
    EXPECT_EQ(recorder.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(none.sheetName50.at(158, 116), QStringLiteral("533946"));
    EXPECT_EQ(none.sheetName250.at(19, 14), QStringLiteral("5339"));

    scratch.write("GSI50M/ZUMEI.CSV", shiftJisLines({"コード,図名", "533946,東京西北部"}));
    QDir().mkpath("../d50/ZUMEI.CSV"); // exists, but a folder cannot be read
    scratch.write("d250/ZUMEI.CSV", shiftJisLines({"コード,図名", "5339,東京"}));
    MapState one; // the 250 m index still missing
    ReadMapName(one);
    EXPECT_EQ(one.sheetName50.at(158, 116), QStringLiteral("東京西北部"));
    EXPECT_TRUE(one.sheetName50.at(158, 115).isEmpty());
    EXPECT_EQ(one.sheetName250.at(19, 14), QStringLiteral("5339"));
    MapState unreadable;
    unreadable.dataDir50 = "../d50";
    unreadable.dataDir250 = "../d250";
    ReadMapName(unreadable);
    EXPECT_EQ(namedCells(unreadable.sheetName50), 0);
    EXPECT_EQ(unreadable.sheetName250.at(19, 14), QStringLiteral("東京"));
    EXPECT_EQ(recorder.shown.size(), 1u);
}

TEST(Coastline, PolylinesBecomeSegmentsAndAnyReadErrorLeavesNone)
{
    // Polylines of 3, 2, 0, -3, 1 and 4 points, with every separator the file uses.
    const auto segments = parseCoast("3\r\n130,30\r\n131 , 31\r\n132,32\r\n2 140.5 40.25 141 41\n"
                                     "0\r\n-3\r\n1\r\n135,35\r\n4,1,2,3,4,5,6,7,8\r\n");
    ASSERT_TRUE(segments);
    ASSERT_EQ(segments->size(), 6u);
    const CoastSegment& first = (*segments)[0];
    EXPECT_EQ((std::array{first.lon1, first.lat1, first.lon2, first.lat2}),
              (std::array{130.f, 30.f, 131.f, 31.f}));
    EXPECT_FLOAT_EQ((*segments)[1].lon2, 132);
    EXPECT_FLOAT_EQ((*segments)[2].lat1, 40.25f);
    EXPECT_FLOAT_EQ((*segments)[3].lon1, 1); // the 1-point polyline gave none
    EXPECT_FLOAT_EQ((*segments)[5].lat2, 8);
    for (const char* broken : {"2\r\n130,30\r\n131,3x\r\n",             // malformed number
                               "2\r\n130,30\r\n131,31\r\n3\r\n1,2\r\n", // ends inside a polyline
                               "2.5\r\n130,30\r\n131,31\r\n",           // count not an integer
                               "2\r\n130,30\r\nnan,31\r\n",             // not a finite number
                               "2\r\n130,30\r\n1e99,31\r\n",            // beyond single precision
                               "2000000000\r\n130,30\r\n131,31\r\n"})   // a count never used for storage
        EXPECT_FALSE(parseCoast(broken)) << broken;

    ScratchDirectory scratch;
    MapState state;
    scratch.write("JapanCoast.txt", "3\r\n139,35\r\n139.5,35.5\r\n140,36\r\n");
    ReadCoast(state);
    EXPECT_EQ(state.coastCount, 2);
    EXPECT_EQ(state.coastSegments.size(), 2u);
    scratch.write("JapanCoast.txt", "3\r\n139,35\r\n139.5,35.5\r\n");
    ReadCoast(state);
    EXPECT_EQ(state.coastCount, 0);
    EXPECT_TRUE(state.coastSegments.empty());
}
