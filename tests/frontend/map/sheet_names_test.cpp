#include "map/map_state.h"
#include "map/messages.h"
#include "map/sheet_names.h"
#include "test_files.h"

#include <QDir>
#include <gtest/gtest.h>
#include <vector>

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

TEST(IndexLine, TakesTheCodeAndTheNameAndIgnoresTheRest)
{
    auto entry = parseIndexLine(QStringLiteral("533946,東京西北部,とうきょうせいほくぶ,x\r\n"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->code, 533946);
    EXPECT_EQ(entry->name, QStringLiteral("東京西北部"));

    entry = parseIndexLine(QStringLiteral(" 5339 ,  \"東京, 区部\" ,x\r"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->code, 5339);
    EXPECT_EQ(entry->name, QStringLiteral("東京, 区部")); // quotes keep the comma

    entry = parseIndexLine(QStringLiteral("5339,\"開いたまま\r\n"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, QStringLiteral("開いたまま"));

    entry = parseIndexLine(QStringLiteral("5339\r\n"));
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->name.isEmpty());
}

TEST(IndexLine, ALineWhoseFirstFieldIsNoIntegerIsSkipped)
{
    EXPECT_FALSE(parseIndexLine(QStringLiteral("コード,図名\r\n")));
    EXPECT_FALSE(parseIndexLine(QStringLiteral("5339a,名前")));
    EXPECT_FALSE(parseIndexLine(QStringLiteral("53.39,名前")));
    EXPECT_FALSE(parseIndexLine(QStringLiteral(",名前")));
    EXPECT_FALSE(parseIndexLine(QStringLiteral("\r\n")));
    EXPECT_FALSE(parseIndexLine(QStringLiteral("99999999999999999999999,名前")));
}

TEST(IndexPath, JoinsWithASlashAndAcceptsBackslashes)
{
    EXPECT_EQ(indexPath(QStringLiteral("../GSI50M")), QStringLiteral("../GSI50M/ZUMEI.CSV"));
    EXPECT_EQ(indexPath(QStringLiteral("..\\data\\GSI50M")), QStringLiteral("../data/GSI50M/ZUMEI.CSV"));
}

TEST(IndexFile, FillsTheTableByEachMeshsCodeRule)
{
    ScratchDirectory scratch;
    const QByteArray lines = shiftJisLines({kHeader, QStringLiteral("533946,東京西北部,a"),
                                            QStringLiteral("4529,\"宮古\",b"), QStringLiteral("7420,北端,c"),
                                            QStringLiteral("7450,東外,d"), QStringLiteral("3820,南外,e"),
                                            QStringLiteral("533900,ﾃｽﾄ,f")});
    const QString path = scratch.write(QStringLiteral("ZUMEI.CSV"), lines);

    SheetNameTable table50(kCols50, kRows50);
    EXPECT_TRUE(readIndexFile(path, kMesh50, table50));
    EXPECT_EQ(table50.at(158, 116), QStringLiteral("東京西北部"));
    EXPECT_EQ(table50.at(152, 112), QStringLiteral("ﾃｽﾄ"));
    // 4529 read as a secondary code: latitude code 0 is far south.
    EXPECT_EQ(namedCells(table50), 2);

    SheetNameTable table250(kCols250, kRows250);
    EXPECT_TRUE(readIndexFile(path, kMesh250, table250));
    EXPECT_EQ(table250.at(9, 6), QStringLiteral("宮古"));
    EXPECT_EQ(table250.at(0, 35), QStringLiteral("北端"));
    EXPECT_EQ(namedCells(table250), 2); // 533946, 7450, 3820, 533900 skipped
}

TEST(IndexFile, SkipsTheHeaderAndBadLinesAndLetsLaterLinesWin)
{
    ScratchDirectory scratch;
    // The header is skipped even though it looks like data.
    const QString path = scratch.write(
        QStringLiteral("ZUMEI.CSV"),
        shiftJisLines({QStringLiteral("5339,見出し"), QStringLiteral("5339,最初"), QStringLiteral("abc,壊れた行"),
                       QString(), QStringLiteral("5339,後の名前"), QStringLiteral("5340,千葉")}));
    SheetNameTable table(kCols250, kRows250);
    EXPECT_TRUE(readIndexFile(path, kMesh250, table));
    EXPECT_EQ(table.at(19, 14), QStringLiteral("後の名前"));
    EXPECT_EQ(table.at(20, 14), QStringLiteral("千葉"));

    const QString headerOnly = scratch.write(QStringLiteral("only/ZUMEI.CSV"), shiftJisLines({kHeader}));
    SheetNameTable empty(kCols250, kRows250);
    EXPECT_TRUE(readIndexFile(headerOnly, kMesh250, empty));
    EXPECT_EQ(namedCells(empty), 0);

    EXPECT_FALSE(readIndexFile(scratch.path() + QStringLiteral("/missing.csv"), kMesh250, empty));
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
    EXPECT_EQ(state.sheetName50.at(0, 0), QStringLiteral("392000"));
    EXPECT_EQ(state.sheetName250.at(19, 14), QStringLiteral("5339"));
    EXPECT_EQ(state.sheetName250.at(29, 35), QStringLiteral("7449"));
}

TEST(ReadMapName, OneMissingIndexGetsCodeTextsWithoutAMessage)
{
    ScratchDirectory scratch;
    scratch.write(QStringLiteral("GSI50M/ZUMEI.CSV"), shiftJisLines({kHeader, QStringLiteral("533946,東京西北部")}));
    QDir().mkdir(QStringLiteral("work"));
    QDir::setCurrent(QStringLiteral("work"));
    MessageRecorder recorder;
    MapState state; // the default directories, relative to the working one
    ReadMapName(state);
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(state.sheetName50.at(158, 116), QStringLiteral("東京西北部"));
    EXPECT_TRUE(state.sheetName50.at(158, 115).isEmpty());
    EXPECT_EQ(state.sheetName250.at(19, 14), QStringLiteral("5339"));
}

TEST(ReadMapName, AnIndexThatCannotBeReadNeverStopsTheOther)
{
    ScratchDirectory scratch;
    // A folder where the 50 m index should be: it exists but cannot be read.
    QDir().mkpath(QStringLiteral("d50/ZUMEI.CSV"));
    scratch.write(QStringLiteral("d250/ZUMEI.CSV"), shiftJisLines({kHeader, QStringLiteral("5339,東京")}));
    MessageRecorder recorder;
    MapState state;
    state.dataDir50 = QStringLiteral("d50");
    state.dataDir250 = QStringLiteral("d250");
    ReadMapName(state);
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(namedCells(state.sheetName50), 0);
    EXPECT_EQ(state.sheetName250.at(19, 14), QStringLiteral("東京"));

    // With the 250 m index missing, its code texts are still filled.
    MapState other;
    other.dataDir50 = QStringLiteral("d50");
    other.dataDir250 = QStringLiteral("nowhere");
    ReadMapName(other);
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(other.sheetName250.at(19, 14), QStringLiteral("5339"));
}
