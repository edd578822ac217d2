#include "map/map_state.h"
#include "map/sheet_names.h"
#include "test_files.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const QString kHeader = QStringLiteral("コード,図名,ふりがな");

int namedCells(const SheetNameTable& table)
{
    int count = 0;
    for (int y = 0; y < table.rows(); ++y)
        for (int x = 0; x < table.cols(); ++x)
            count += table.at(x, y).isEmpty() ? 0 : 1;
    return count;
}

} // namespace

TEST(IndexLine, TakesTheCodeAndTheNameOrNothingWithoutAnIntegerCode)
{
    const std::pair<QString, QString> lines[] = {
        {"533946,東京西北部,とうきょう,x\r\n", "東京西北部"},
        {" 5339 ,  \"東京, 区部\" ,x\r", "東京, 区部"}, // quotes keep the comma
        {"5339,\"閉じない\r\n", "閉じない"},
        {"5339\r\n", ""}};
    for (const auto& [line, name] : lines) {
        const auto entry = parseIndexLine(line);
        ASSERT_TRUE(entry) << line.toStdString();
        EXPECT_EQ(entry->name, name);
    }
    EXPECT_EQ(parseIndexLine(u"533946,名")->code, 533946);
    for (const char* bad : {"コード,図名", "5339a,名", "53.39,名", ",名", "\r\n", "99999999999999999999,名"})
        EXPECT_FALSE(parseIndexLine(QString::fromUtf8(bad))) << bad;

    EXPECT_EQ(indexPath("../GSI50M"), QStringLiteral("../GSI50M/ZUMEI.CSV"));
    EXPECT_EQ(indexPath("..\\data\\GSI50M"), QStringLiteral("../data/GSI50M/ZUMEI.CSV"));
}

TEST(IndexFile, ReadsShiftJisByEachMeshsRuleSkippingHeaderAndBadLines)
{
    ScratchDirectory scratch;
    const QString path = scratch.write(
        "ZUMEI.CSV", shiftJisLines({"5339,見出し", "533946,東京西北部,a", "4529,\"宮古\",b", "7420,北端",
                                    "7450,東外", "3820,南外", "abc,壊れた行", "", "533900,ﾃｽﾄ", "4529,宮古2"}));
    SheetNameTable table50(kCols50, kRows50);
    EXPECT_TRUE(readIndexFile(path, kMesh50, table50));
    EXPECT_EQ(table50.at(158, 116), QStringLiteral("東京西北部"));
    EXPECT_EQ(table50.at(152, 112), QStringLiteral("ﾃｽﾄ"));
    EXPECT_EQ(namedCells(table50), 2);

    SheetNameTable table250(kCols250, kRows250);
    EXPECT_TRUE(readIndexFile(path, kMesh250, table250));
    EXPECT_EQ(table250.at(9, 6), QStringLiteral("宮古2")); // a later line wins
    EXPECT_EQ(table250.at(0, 35), QStringLiteral("北端"));
    EXPECT_EQ(namedCells(table250), 2); // the header's 5339 is not read

    SheetNameTable empty(kCols250, kRows250);
    EXPECT_TRUE(readIndexFile(scratch.write("only.csv", shiftJisLines({kHeader})), kMesh250, empty));
    EXPECT_FALSE(readIndexFile(scratch.path() + "/missing.csv", kMesh250, empty));
    EXPECT_EQ(namedCells(empty), 0);
}

TEST(ReadMapName, WarnsOnceAndFillsCodeTextsWhenNeitherIndexExists)
{
    ScratchDirectory scratch;
    MessageRecorder recorder;
    MapState state;
    ReadMapName(state);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, QStringLiteral("ZUMEI.CSVファイルがありません。"));
    EXPECT_EQ(recorder.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(recorder.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(state.sheetName50.at(158, 116), QStringLiteral("533946"));
    EXPECT_EQ(state.sheetName250.at(19, 14), QStringLiteral("5339"));
}

TEST(ReadMapName, AMissingOrUnreadableIndexNeverStopsTheOther)
{
    ScratchDirectory scratch;
    scratch.write("GSI50M/ZUMEI.CSV", shiftJisLines({kHeader, "533946,東京西北部"}));
    QDir().mkpath("d50/ZUMEI.CSV"); // exists, but a folder cannot be read
    scratch.write("d250/ZUMEI.CSV", shiftJisLines({kHeader, "5339,東京"}));
    QDir().mkdir("work");
    QDir::setCurrent("work");
    MessageRecorder recorder;

    MapState defaults; // "../GSI50M" and the missing "../GSI250M"
    ReadMapName(defaults);
    EXPECT_EQ(defaults.sheetName50.at(158, 116), QStringLiteral("東京西北部"));
    EXPECT_TRUE(defaults.sheetName50.at(158, 115).isEmpty());
    EXPECT_EQ(defaults.sheetName250.at(19, 14), QStringLiteral("5339"));

    MapState unreadable;
    unreadable.dataDir50 = "..\\d50";
    unreadable.dataDir250 = "../d250";
    ReadMapName(unreadable);
    EXPECT_EQ(namedCells(unreadable.sheetName50), 0);
    EXPECT_EQ(unreadable.sheetName250.at(19, 14), QStringLiteral("東京"));

    unreadable.dataDir250 = "nowhere"; // its code texts still come
    ReadMapName(unreadable);
    EXPECT_EQ(unreadable.sheetName250.at(19, 14), QStringLiteral("5339"));
    EXPECT_TRUE(recorder.shown.empty());
}
