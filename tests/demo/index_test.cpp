#include <gtest/gtest.h>

#include <map>
#include <set>

#include "demo_output.h"
#include "sheet_index.h"

namespace {

// code -> name of a Shift-JIS index whose every line ends CR LF and holds
// further fields; the header line is left out.
std::map<int, std::string> namesOf(const std::string& index)
{
    const std::string raw = readBytes(demoDir() / index / "ZUMEI.CSV");
    const std::string text = fromShiftJis(raw);
    EXPECT_NE(raw, text) << "not Shift-JIS: the bytes read the same as UTF-8";
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    std::map<int, std::string> names;
    std::size_t start = text.find("\r\n") + 2;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = text.substr(start, end - start);
        const std::size_t comma1 = line.find(',');
        const std::size_t comma2 = line.find(',', comma1 + 1);
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare LF in " << line;
        EXPECT_NE(line.find(',', comma2 + 1), std::string::npos) << "no further fields: " << line;
        names[std::stoi(line.substr(0, comma1))] = line.substr(comma1 + 1, comma2 - comma1 - 1);
    }
    return names;
}

} // namespace

TEST(DemoSheetIndex, NamesEveryDemoSheetAndCellAndNoOther)
{
    const std::map<int, std::string> cells{{5338, "甲府"}, {5339, "東京"}, {5238, "静岡"}, {5239, "横須賀"}};
    EXPECT_EQ(namesOf("GSI250M"), cells);

    const auto names = namesOf("GSI50M");
    EXPECT_EQ(names.size(), 24u);
    for (const MapCell& sheet : demoSheets())
        EXPECT_EQ(names.count(secondaryCode(sheet)), 1u) << secondaryCode(sheet);
    EXPECT_EQ(secondaryCode(sheetAt(35.3608, 138.7275)), 533805);
    EXPECT_EQ(secondaryCode(sheetAt(35.2500001, 139.0000001)), 523970); // just inside the corner
    EXPECT_EQ(names.at(533805), "富士山");
    EXPECT_EQ(names.at(523971), "小田原");
    EXPECT_EQ(names.at(523962), "デモ62"); // Sagami Bay: no place to name it after
    // Every name fits its cell on the map (a cell is about eight Shift-JIS
    // bytes wide) and tells its sheet apart from the others.
    std::set<std::string> distinct;
    for (const auto& [code, name] : names) {
        EXPECT_LE(toShiftJis(name).size(), name.starts_with("デモ") ? 6u : 8u) << code << " " << name;
        distinct.insert(name);
    }
    EXPECT_EQ(distinct.size(), names.size());
    EXPECT_THROW(toShiftJis("\xF0\x9F\x97\xBB"), std::runtime_error); // no emoji in Shift-JIS
}
