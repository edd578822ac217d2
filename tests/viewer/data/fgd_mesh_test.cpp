#include <gtest/gtest.h>

#include <optional>

#include "data/fgd_mesh.h"
#include "fgd_test_files.h"

namespace {

using orvex::FgdClass;
using orvex::FgdName;
using orvex::fgdNoValue;
using orvex::FgdResolution;
using orvex::MeshCode;

TEST(FgdName, PublishedNamesInEitherCaseAndNothingElse)
{
    const FgdResolution ten = FgdResolution::metres10, five = FgdResolution::metres5;
    const struct {
        const char* name;
        std::optional<FgdName> expected;
    } cases[] = {
        {"FG-GML-5339-45-DEM10B-20161001.xml", FgdName{ten, 'B', {53, 39, 4, 5}, 20161001}},
        {"fg-gml-5339-45-07-dem5a-20200101.xml", FgdName{five, 'A', {53, 39, 4, 5, 0, 7}, 20200101}},
        {"FG-GML-5339-45-DEM5C.zip", FgdName{five, 'C', {53, 39, 4, 5}, 0}}, // a sheet's archive
        {"FG-GML-6841-77-DEM10A", FgdName{ten, 'A', {68, 41, 7, 7}, 0}},
        {"FG-GML-5339-48-DEM10B-20161001.xml", std::nullopt}, // column 8
        {"FG-GML-5339-45-07-DEM10B-20161001.xml", std::nullopt},
        {"FG-GML-5339-45-DEM10D-20161001.xml", std::nullopt},
        {"FG-GML-5339-45-DEM10AB.xml", std::nullopt},
        {"FG-GML-5339-45-DEM10B-2016.xml", std::nullopt},
        {"FG-GML-533-45-DEM10B.xml", std::nullopt},
        {"GML-5339-45-DEM10B.xml", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(orvex::parseFgdName(c.name), c.expected) << c.name;
}

// A 5 m mesh whose list starts at (3, 2) and ends after nine tuples.
const MeshCode tertiary{53, 39, 4, 5, 2, 7};
const char* const nineTuples[] = {"地表面,12.5",   "表層面,13.25",      "海水面,-9999.",
                                  "内水面,4.5",    "データなし,-9999.", "その他,7",
                                  "地表面,-9999.", "地表面,12000",      "地すべり,3.5"};
std::string shortList()
{
    return fgdXml({FgdResolution::metres5, tertiary,
                   [](int x, int y) { return nineTuples[y * 225 + x - 453]; }, 3, 2, 9});
}

TEST(FgdMesh, TuplesGoFromTheStartPointToTheEndOfTheListHoweverTheTextArrives)
{
    const std::string name = fgdName(tertiary, "5A", "20200101");
    const std::string xml = shortList();
    std::vector<std::pair<const char*, std::optional<orvex::FgdMesh>>> parsed;
    parsed.emplace_back("whole", orvex::parseFgdMesh(name, xml));
    std::string crlf;
    for (const char c : xml)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    parsed.emplace_back("CR LF", orvex::parseFgdMesh(name, crlf));
    orvex::FgdMeshReader reader(name);
    for (const char c : xml)
        ASSERT_TRUE(reader.feed(std::string_view(&c, 1)));
    parsed.emplace_back("byte by byte", reader.finish());

    const float values[] = {12.5f, 13.25f, fgdNoValue, 4.5f, fgdNoValue, 7, fgdNoValue, fgdNoValue, 3.5f};
    const FgdClass classes[] = {FgdClass::ground,      FgdClass::surface, FgdClass::sea,
                                FgdClass::inlandWater, FgdClass::noData,  FgdClass::other,
                                FgdClass::ground,      FgdClass::ground,  FgdClass::other};
    for (const auto& [label, mesh] : parsed) {
        SCOPED_TRACE(label);
        ASSERT_TRUE(mesh);
        EXPECT_EQ(mesh->name, (FgdName{FgdResolution::metres5, 'A', tertiary, 20200101}));
        ASSERT_EQ(std::pair(mesh->cols, mesh->rows), std::pair(225, 150));
        for (int k = 0; k < 9; ++k) {
            EXPECT_EQ(mesh->values[453 + k], values[k]) << k;
            EXPECT_EQ(mesh->classes[453 + k], classes[k]) << k;
        }
        for (const int outside : {0, 452, 462, 225 * 150 - 1}) {
            EXPECT_EQ(mesh->values[outside], fgdNoValue) << outside;
            EXPECT_EQ(mesh->classes[outside], FgdClass::noData) << outside;
        }
    }
}

TEST(FgdMesh, ANameOfAnotherFormLeavesThePlaceToTheHeader)
{
    const auto ground = [](int, int) { return std::string("地表面,1"); };
    std::string error;
    const auto ten = orvex::parseFgdMesh(
        "dem.xml", fgdXml({FgdResolution::metres10, {53, 39, 4, 5}, ground, 0, 0, 3}), &error);
    ASSERT_TRUE(ten) << error;
    EXPECT_EQ(ten->name, (FgdName{FgdResolution::metres10, 0, {53, 39, 4, 5}, 0}));
    EXPECT_EQ(std::pair(ten->cols, ten->rows), std::pair(1125, 750));
    const auto five =
        orvex::parseFgdMesh("x.XML", fgdXml({FgdResolution::metres5, tertiary, ground, 0, 0, 3}));
    ASSERT_TRUE(five);
    EXPECT_EQ(five->name, (FgdName{FgdResolution::metres5, 0, tertiary, 0}));
}

TEST(FgdMesh, MalformedDocumentsAreRefusedWithAReason)
{
    const std::string name = fgdName(tertiary, "5A", "20200101");
    const std::string xml = shortList();
    const struct {
        const char* label;
        std::string name;
        std::string xml;
        const char* reason;
    } cases[] = {
        {"cut short", name, xml.substr(0, xml.size() / 2), "bad XML"},
        {"grid of a 10 m mesh", name, replaced(xml, "224 149</gml:high>", "1124 749</gml:high>"),
         "grid size"},
        {"grid from 1 0", name, replaced(xml, ">0 0</gml:low>", ">1 0</gml:low>"), "does not start"},
        {"corner of the next mesh", name,
         replaced(xml, "<gml:lowerCorner>35.683333333", "<gml:lowerCorner>35.691666667"), "corner outside"},
        {"no envelope", name,
         replaced(replaced(xml, "<gml:lowerCorner>", "<gml:lower>"), "</gml:lowerCorner>", "</gml:lower>"),
         "no envelope"},
        {"start point past the row", name, replaced(xml, ">3 2</gml:startPoint>", ">225 2</gml:startPoint>"),
         "start point outside"},
        {"tuples past the end", name, replaced(xml, ">3 2</gml:startPoint>", ">220 149</gml:startPoint>"),
         "more tuples"},
        {"name of another mesh", fgdName({53, 39, 4, 5, 2, 8}, "5A", "20200101"), xml, "mesh code differs"},
        {"type of another resolution", name, replaced(xml, "<type>5m", "<type>10m"), "type differs"},
        {"tuple without a comma", name, replaced(xml, "地表面,12.5", "地表面12.5"), "no value"},
        {"tuple with a word", name, replaced(xml, "表層面,13.25", "表層面,13.25m"), "no number"},
        {"tuple of one kilobyte", name, replaced(xml, "表層面,13.25", "表層面," + std::string(1000, '1')),
         "too long"},
        {"document type", name, replaced(xml, "<Dataset", "<!DOCTYPE Dataset [<!ENTITY a \"1\">]>\n<Dataset"),
         "document type"},
        {"no tuple list", name,
         replaced(replaced(xml, "<gml:tupleList>", "<gml:list>"), "</gml:tupleList>", "</gml:list>"),
         "no tuple list"},
        {"two tuple lists", name, replaced(xml, "</gml:DataBlock>", "<gml:tupleList/></gml:DataBlock>"),
         "more than one"},
        {"columns first", name, replaced(xml, "+x-y", "+y+x"), "order"},
        {"no name, no code", "dem.xml", replaced(xml, "<mesh>53394527</mesh>", ""), "no mesh code"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::string error;
        EXPECT_FALSE(orvex::parseFgdMesh(c.name, c.xml, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

} // namespace
