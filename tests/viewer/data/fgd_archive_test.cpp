#include <gtest/gtest.h>

#include <algorithm>

#include "../test_files.h"
#include "data/fgd_archive.h"
#include "fgd_test_files.h"

namespace {

using orvex::FgdFile;
using orvex::FgdResolution;
using orvex::MeshCode;

std::string fiveMetreXml(const MeshCode& code, const std::string& value)
{
    return fgdXml({FgdResolution::metres5, code, [&](int, int) { return "地表面," + value; }, 0, 0, 2});
}

std::string tenMetreXml(const MeshCode& code)
{
    return fgdXml(
        {FgdResolution::metres10, code, [](int x, int) { return "地表面," + std::to_string(x); }, 0, 0, 2});
}

std::vector<std::string> shownNames(const std::vector<FgdFile>& files, const ScratchDir& dir)
{
    std::vector<std::string> names;
    for (const FgdFile& file : files)
        names.push_back(file.source.shownName().replace(0, dir.path().size(), "D"));
    return names;
}

TEST(FgdArchive, DocumentsAreFoundInFoldersAndInArchivesInArchives)
{
    ScratchDir dir;
    const MeshCode five{53, 39, 4, 7, 0, 0}, fiveNext{53, 39, 4, 7, 0, 1};
    writeFile(dir.file("a/b/fg-gml-5339-45-dem10b-20161001.xml"), tenMetreXml({53, 39, 4, 5}));
    writeFile(dir.file("FG-GML-5339-46-DEM10B.ZIP"),
              zipBytes({{"FG-GML-5339-46-DEM10B/" + fgdName({53, 39, 4, 6}, "10B", "20161001"),
                         tenMetreXml({53, 39, 4, 6})},
                        {"readme.txt", "not a DEM"}}));
    const std::string inner =
        zipBytes({{fgdName(five, "5A", "20200101"), fiveMetreXml(five, "1.5")},
                  {fgdName(fiveNext, "5A", "20200101"), fiveMetreXml(fiveNext, "2.5")}});
    const MeshCode other{53, 39, 4, 3, 0, 0};
    const std::string otherInner = zipBytes({{fgdName(other, "5A", "20200101"), fiveMetreXml(other, "3.5")}});
    writeFile(dir.file("bulk/PackDLMap.zip"),
              zipBytes({{"FG-GML-5339-47-DEM5A.zip", inner}, {"FG-GML-5339-43-DEM5A.zip", otherInner}}));
    writeFile(dir.file("renamed.xml"), tenMetreXml({53, 39, 4, 4}));
    writeFile(dir.file("FG-GML-5339-40-DEM10B.zip"), "never opened: not wanted");
    writeFile(dir.file("FG-GML-5339-41-DEM10B.zip"), "not an archive");

    std::vector<std::string> problems;
    const std::vector<FgdFile> files = orvex::findFgdFiles(
        dir.path(), [](const orvex::FgdName& name) { return name.code.q != 0; }, problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind(dir.file("FG-GML-5339-41-DEM10B.zip skipped: "), 0), 0u) << problems[0];
    EXPECT_EQ(shownNames(files, dir),
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

TEST(FgdArchive, EachPlaceTriesSurveyAThenBThenCThenTheNewest)
{
    const auto file = [](const char* name) { return FgdFile{{name, {}}, *orvex::parseFgdName(name)}; };
    const auto places = orvex::filesByPlace({
        file("FG-GML-5339-45-00-DEM5C-20230101.xml"),
        file("FG-GML-5339-45-00-DEM5B-20190101.xml"),
        file("FG-GML-5339-45-00-DEM5A-20100101.xml"),
        file("FG-GML-5339-45-00-DEM5B-20200101.xml"),
        file("FG-GML-5339-46-DEM10B-20161001.xml"),
        file("FG-GML-5339-46-DEM10A-20081001.xml"),
    });
    std::vector<std::vector<std::string>> order;
    for (const auto& [place, files] : places) {
        order.emplace_back();
        for (const FgdFile& f : files)
            order.back().push_back(f.source.path);
    }
    EXPECT_EQ(order, (std::vector<std::vector<std::string>>{
                         {"FG-GML-5339-46-DEM10A-20081001.xml", "FG-GML-5339-46-DEM10B-20161001.xml"},
                         {"FG-GML-5339-45-00-DEM5A-20100101.xml", "FG-GML-5339-45-00-DEM5B-20200101.xml",
                          "FG-GML-5339-45-00-DEM5B-20190101.xml", "FG-GML-5339-45-00-DEM5C-20230101.xml"}}));
}

TEST(FgdArchive, SizesAndNestingAreBounded)
{
    ScratchDir dir;
    const std::string xml = tenMetreXml({53, 39, 4, 5});
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
