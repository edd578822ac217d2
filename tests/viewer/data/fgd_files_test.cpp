#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "../viewer_test.h"
#include "data/fgd_archive.h"
#include "data/fgd_mesh.h"
#include "fgd_test_files.h"

using namespace testing_support;

namespace {

using orvex::FgdClass;
using orvex::FgdFile;
using orvex::FgdName;
using orvex::fgdNoValue;
using orvex::FgdResolution;
using orvex::MeshCode;

TEST(FgdName, OnlyPublishedNamesInEitherCase)
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
    // What the list may hold besides plain tuples, read as the parser reads it.
    parsed.emplace_back(
        "reference", orvex::parseFgdMesh(name, replaced(xml, "\n表層面,13.25", "\n&#x8868;層面&#44;13.25")));
    parsed.emplace_back("comment",
                        orvex::parseFgdMesh(name, replaced(xml, "\n海水面", "<!-- 1 -->\n海水面")));
    parsed.emplace_back("CDATA",
                        orvex::parseFgdMesh(name, replaced(xml, "内水面,4.5", "<![CDATA[内水面,4.5]]>")));
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

TEST(FgdMesh, MalformedDocumentsAreRefusedWithAReason)
{
    const std::string xml = shortList();
    const struct {
        const char* reason;
        std::string xml;
        std::string name = fgdName(tertiary, "5A", "20200101");
    } cases[] = {
        {"bad XML", xml.substr(0, xml.size() / 2)},
        {"grid size", replaced(xml, "224 149</gml:high>", "1124 749</gml:high>")}, // a 10 m mesh's
        {"does not start", replaced(xml, ">0 0</gml:low>", ">1 0</gml:low>")},
        {"corner outside", replaced(xml, "<gml:lowerCorner>35.683333333", "<gml:lowerCorner>35.691666667")},
        {"no envelope",
         replaced(replaced(xml, "<gml:lowerCorner>", "<gml:lower>"), "</gml:lowerCorner>", "</gml:lower>")},
        {"start point outside", replaced(xml, ">3 2</gml:startPoint>", ">225 2</gml:startPoint>")},
        {"more tuples", replaced(xml, ">3 2</gml:startPoint>", ">220 149</gml:startPoint>")},
        {"mesh code differs", xml, fgdName({53, 39, 4, 5, 2, 8}, "5A", "20200101")},
        {"type differs", replaced(xml, "<type>5m", "<type>10m")},
        {"no value", replaced(xml, "地表面,12.5", "地表面12.5")},
        {"no number", replaced(xml, "表層面,13.25", "表層面,13.25m")},
        {"too long", replaced(xml, "表層面,13.25", "表層面," + std::string(1000, '1'))},
        {"document type", replaced(xml, "<Dataset", "<!DOCTYPE Dataset [<!ENTITY a \"1\">]>\n<Dataset")},
        {"no tuple list",
         replaced(replaced(xml, "<gml:tupleList>", "<gml:list>"), "</gml:tupleList>", "</gml:list>")},
        {"more than one", replaced(xml, "</gml:DataBlock>", "<gml:tupleList/></gml:DataBlock>")},
        {"order", replaced(xml, "+x-y", "+y+x")},
        {"no mesh code", replaced(xml, "<mesh>53394527</mesh>", ""), "dem.xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        std::string error;
        EXPECT_FALSE(orvex::parseFgdMesh(c.name, c.xml, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    // Bytes that are not XML text inside the list, and a list the document
    // ends in, are bad XML at their own line, fed whole or byte by byte.
    const std::string expected =
        "bad XML at line " +
        std::to_string(std::count(xml.begin(), xml.begin() + xml.find("内水面"), '\n') + 1);
    for (const std::string& bad :
         {replaced(xml, "内水面,4.5", "内水面,4\x01.5"), replaced(xml, "内水面,4.5", "内\xE6\xB0,4.5"),
          replaced(xml, "内水面,4.5", "内水面,4.5]]>"), xml.substr(0, xml.find("内水面,4.5") + 10)}) {
        std::string error;
        EXPECT_FALSE(orvex::parseFgdMesh(fgdName(tertiary, "5A", "20200101"), bad, &error));
        EXPECT_EQ(error.substr(0, expected.size()), expected) << error;
        orvex::FgdMeshReader reader(fgdName(tertiary, "5A", "20200101"));
        for (const char c : bad)
            reader.feed(std::string_view(&c, 1));
        EXPECT_FALSE(reader.finish());
        EXPECT_EQ(reader.error().substr(0, expected.size()), expected) << reader.error();
    }
}

// Two tuples of `value` metres.
std::string twoTuples(const MeshCode& code, const std::string& value = "1")
{
    const auto resolution = code.r < 0 ? FgdResolution::metres10 : FgdResolution::metres5;
    return fgdXml({resolution, code, [&](int, int) { return "地表面," + value; }, 0, 0, 2});
}

TEST(FgdArchive, DocumentsAreFoundInFoldersThroughNestedArchives)
{
    ScratchDir dir;
    const MeshCode five{53, 39, 4, 7, 0, 0}, fiveNext{53, 39, 4, 7, 0, 1};
    writeFile(dir.file("a/b/fg-gml-5339-45-dem10b-20161001.xml"), twoTuples({53, 39, 4, 5}));
    writeFile(dir.file("FG-GML-5339-46-DEM10B.ZIP"),
              zipBytes({{"FG-GML-5339-46-DEM10B/" + fgdName({53, 39, 4, 6}, "10B", "20161001"),
                         twoTuples({53, 39, 4, 6})},
                        {"readme.txt", "not a DEM"}}));
    const std::string inner = zipBytes({{fgdName(five, "5A", "20200101"), twoTuples(five, "1.5")},
                                        {fgdName(fiveNext, "5A", "20200101"), twoTuples(fiveNext, "2.5")}});
    const MeshCode other{53, 39, 4, 3, 0, 0};
    const std::string otherInner = zipBytes({{fgdName(other, "5A", "20200101"), twoTuples(other, "3.5")}});
    writeFile(dir.file("bulk/PackDLMap.zip"),
              zipBytes({{"FG-GML-5339-47-DEM5A.zip", inner}, {"FG-GML-5339-43-DEM5A.zip", otherInner}}));
    writeFile(dir.file("renamed.xml"), twoTuples({53, 39, 4, 4}));
    writeFile(dir.file("FG-GML-5339-40-DEM10B.zip"), "never opened: not wanted");
    writeFile(dir.file("FG-GML-5339-41-DEM10B.zip"), "not an archive");

    std::vector<std::string> problems;
    const std::vector<FgdFile> files = orvex::findFgdFiles(
        dir.path(), [](const orvex::FgdName& name) { return name.code.q != 0; }, problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind(dir.file("FG-GML-5339-41-DEM10B.zip skipped: "), 0), 0u) << problems[0];
    std::vector<std::string> names;
    for (const FgdFile& file : files)
        names.push_back(file.source.shownName().replace(0, dir.path().size(), "D"));
    EXPECT_EQ(names,
              (std::vector<std::string>{
                  "D/FG-GML-5339-46-DEM10B.ZIP:FG-GML-5339-46-DEM10B/FG-GML-5339-46-DEM10B-20161001.xml",
                  "D/a/b/fg-gml-5339-45-dem10b-20161001.xml",
                  "D/bulk/PackDLMap.zip:FG-GML-5339-47-DEM5A.zip:FG-GML-5339-47-00-DEM5A-20200101.xml",
                  "D/bulk/PackDLMap.zip:FG-GML-5339-47-DEM5A.zip:FG-GML-5339-47-01-DEM5A-20200101.xml",
                  "D/bulk/PackDLMap.zip:FG-GML-5339-43-DEM5A.zip:FG-GML-5339-43-00-DEM5A-20200101.xml",
                  "D/renamed.xml"}));
    EXPECT_EQ(files[5].name, (orvex::FgdName{FgdResolution::metres10, 0, {53, 39, 4, 4}, 0}));

    // A download named in place of the folder.
    EXPECT_EQ(orvex::findFgdFiles(
                  dir.file("bulk/PackDLMap.zip"), [](const orvex::FgdName&) { return true; }, problems)
                  .size(),
              3u);

    // Read in an order that goes from one archive in an archive to another,
    // leaves them and comes back.
    orvex::FgdArchiveReader archives;
    const float values[] = {1, 1, 1.5f, 2.5f, 3.5f, 1};
    for (const int k : {3, 4, 2, 0, 3, 5, 1}) {
        SCOPED_TRACE(k);
        std::string error;
        const std::optional<orvex::FgdMesh> mesh = orvex::readFgdFile(archives, files[k], error);
        ASSERT_TRUE(mesh) << error;
        EXPECT_EQ(mesh->name, files[k].name);
        EXPECT_EQ(mesh->values[1], values[k]);
    }
}

TEST(FgdArchive, MemberSizeNestingAreBounded)
{
    ScratchDir dir;
    const std::string xml = twoTuples({53, 39, 4, 5});
    std::string nested = zipBytes({{fgdName({53, 39, 4, 5}, "10B", "20161001"), xml}});
    for (int level = 1; level < orvex::deepestArchiveNesting; ++level)
        nested = zipBytes({{"level" + std::to_string(level) + ".zip", nested}});
    writeFile(dir.file("deep-enough.zip"), nested);
    writeFile(dir.file("too-deep.zip"), zipBytes({{"more.zip", nested}}));

    std::vector<std::string> problems;
    const auto files = orvex::findFgdFiles(
        dir.path(), [](const orvex::FgdName&) { return true; }, problems);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].source.members.size(), std::size_t(orvex::deepestArchiveNesting));
    EXPECT_EQ(problems, (std::vector<std::string>{
                            dir.file("too-deep.zip:more.zip:level3.zip:level2.zip:level1.zip skipped: "
                                     "archives nested too deep")}));

    // A member longer than the limit is refused, whatever its header claims.
    orvex::FgdArchiveReader archives;
    std::string error;
    std::size_t given = 0;
    const auto count = [&given](std::string_view piece) { return given += piece.size(), true; };
    EXPECT_TRUE(archives.read(files[0].source, xml.size(), count, error)) << error;
    EXPECT_EQ(given, xml.size());
    EXPECT_FALSE(archives.read(files[0].source, xml.size() - 1, count, error));
    EXPECT_NE(error.find("more than any DEM file"), std::string::npos) << error;
}

} // namespace
