#include <gtest/gtest.h>

#include <map>
#include <set>

#include "demo_output.h"
#include "sheet_index.h"

namespace {

// code -> name of a Shift-JIS index whose every line ends CR LF; the header
// line is left out.
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
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare LF in " << line;
        const std::size_t comma1 = line.find(',');
        const std::size_t comma2 = line.find(',', comma1 + 1);
        EXPECT_NE(line.find(',', comma2 + 1), std::string::npos) << "no further fields: " << line;
        names[std::stoi(line.substr(0, comma1))] = line.substr(comma1 + 1, comma2 - comma1 - 1);
    }
    return names;
}

}  // namespace

TEST(DemoSheetIndex, PrimaryCellsCarryTheirMapNames)
{
    const std::map<int, std::string> expected{{5338, "甲府"}, {5339, "東京"}, {5238, "静岡"}, {5239, "横須賀"}};
    EXPECT_EQ(namesOf("GSI250M"), expected);
}

TEST(DemoSheetIndex, FiftyMetreSheetsAreNamedAfterPlacesInside)
{
    const auto names = namesOf("GSI50M");
    for (const MapCell& sheet : demoSheets())
        EXPECT_EQ(names.count(secondaryCode(sheet)), 1u) << secondaryCode(sheet);
    EXPECT_EQ(names.size(), 24u);
    EXPECT_EQ(names.at(secondaryCode(sheetAt(35.3608, 138.7275))), "富士山");
    EXPECT_EQ(names.at(secondaryCode(sheetAt(35.4747, 139.1625))), "丹沢山");
    EXPECT_EQ(names.at(523971), "小田原");
    EXPECT_EQ(names.at(523962), "デモ62");  // Sagami Bay: no place to name it after
    // Every name fits its cell on the map (a cell is about eight Shift-JIS
    // bytes wide) and tells its sheet apart from the others.
    std::set<std::string> distinct;
    for (const auto& [code, name] : names) {
        EXPECT_LE(toShiftJis(name).size(), name.starts_with("デモ") ? 6u : 8u) << code << " " << name;
        distinct.insert(name);
    }
    EXPECT_EQ(distinct.size(), names.size());
}

TEST(DemoSheetIndex, CodesAndShiftJis)
{
    EXPECT_EQ(secondaryCode({158, 116}), 533946);
    EXPECT_EQ(primaryCode({158, 116}), 5339);
    EXPECT_EQ(secondaryCode(sheetAt(35.3608, 138.7275)), 533805);
    EXPECT_EQ(secondaryCode(sheetAt(35.2500001, 139.0000001)), 523970);  // just inside the corner
    const std::string sjis = toShiftJis("富士山\r\n");
    EXPECT_EQ(sjis.substr(0, 2), "\x95\x78");  // 富
    EXPECT_EQ(fromShiftJis(sjis), "富士山\r\n");
    EXPECT_THROW(toShiftJis("\xF0\x9F\x97\xBB"), std::runtime_error);  // no emoji in Shift-JIS
}
