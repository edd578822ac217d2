// The files as bytes: the same on every run, written whole, and the sheet
// indexes the map reads.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

#include "demo_data.h"
#include "demo_output.h"
#include "output_file.h"
#include "scratch_dir.h"
#include "sheet_index.h"

using namespace demo;
using testing_support::fileText;
namespace fs = std::filesystem;

namespace {

// A ZUMEI.CSV, read as Shift-JIS.
std::string indexText(const char* dataSet)
{
    return fromShiftJis(fileText(demoDir / dataSet / "ZUMEI.CSV"));
}

// Every file below a folder: its path from there, and its bytes.
std::map<fs::path, std::string> filesIn(const fs::path& root)
{
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory())
            files[fs::relative(entry.path(), root)] = fileText(entry.path());
    return files;
}

} // namespace

// Generated again in this process, the data matches what make-demo-data
// wrote byte for byte, with nothing else in either folder.
TEST(DemoFiles, SecondRunWritesTheSameFilesAndNothingElse)
{
    const testing_support::ScratchDir again;
    writeDemoData(again.path(), demoTerrain());
    const auto ours = filesIn(again.path()), made = filesIn(demoDir);
    EXPECT_EQ(ours.size(), 24u + 4u + 4u + 1u + 2u + 24u + 2u);
    for (const auto& [path, bytes] : made)
        EXPECT_TRUE(ours.contains(path) && ours.at(path) == bytes) << path << " differs";
}

TEST(DemoFiles, AFileAppearsOnlyWhenWhole)
{
    const testing_support::ScratchDir dir;
    writeSparseFileAtomically(dir.file("sub/tile"), 1 << 20, {{1 << 19, "xy"}});
    EXPECT_EQ(fileText(dir.file("sub/tile")),
              std::string(1 << 19, '\0') + "xy" + std::string((1 << 19) - 2, '\0'));
    struct stat info {};
    ASSERT_EQ(stat(dir.file("sub/tile").c_str(), &info), 0);
    EXPECT_LT(info.st_blocks * 512, 1 << 16) << "the holes take room on disk";
    fs::create_directory(dir.file("taken")); // a folder in the way of the final name
    EXPECT_THROW(writeFileAtomically(dir.file("taken"), "abc"), std::runtime_error);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2) << "a temporary file was left";
}

TEST(DemoSheetIndex, NamesTheFourCells)
{
    EXPECT_EQ(indexText("GSI250M"), "コード,図名,南端緯度,西端経度,備考\r\n"
                                    "5338,甲府,35.3333,138.0000,デモ地形\r\n"
                                    "5339,東京,35.3333,139.0000,デモ地形\r\n"
                                    "5238,静岡,34.6667,138.0000,デモ地形\r\n"
                                    "5239,横須賀,34.6667,139.0000,デモ地形\r\n");
}

// Each sheet once, by a name that tells it apart and fits its cell on the
// map (about eight Shift-JIS bytes).
TEST(DemoSheetIndex, NamesEverySheetOnceAndDistinctly)
{
    const std::string text = indexText("GSI50M");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 24);
    std::set<std::string> names;
    for (const MapCell& sheet : demoSheets()) {
        const std::string name = sheetName50(sheet);
        EXPECT_NE(text.find("\r\n" + std::to_string(secondaryCode(sheet)) + "," + name + ","),
                  std::string::npos);
        EXPECT_LE(toShiftJis(name).size(), name.starts_with("デモ") ? 6u : 8u) << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 24u);
    EXPECT_EQ(secondaryCode(sheetAt(35.2500001, 139.0000001)), 523970); // just inside the corner
    // 523962 lies in Sagami Bay: no place to name it after.
    for (const char* line : {"\n533805,富士山,35.3333,138.6250,", "\n523971,小田原,", "\n523962,デモ62,"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}
