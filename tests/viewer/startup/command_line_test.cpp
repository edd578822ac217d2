#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <map>
#include <sstream>

#include "../../hostile_files.h"
#include "../viewer_test.h"
#include "app/command_line.h"
#include "app/load_request.h"

using namespace orvex;

namespace {

// The words of a command line, the program's name first, and their parse.
struct Words {
    explicit Words(const std::string& line)
    {
        std::istringstream in("orvex " + line);
        for (std::string word; in >> word;)
            words.push_back(word);
        for (const std::string& word : words)
            argv.push_back(word.c_str());
    }
    std::optional<LoadRequest> parse() const { return parseCommandLine(int(argv.size()), argv.data()); }
    std::vector<std::string> words;
    std::vector<const char*> argv;
};

TEST(CommandLine, EachOptionIsRecognisedOnlyAtItsWordCountWithNumbersReadLikeAtoi)
{
    for (const auto& [option, count] :
         {std::pair("-gsi50", 6), std::pair("-gsi250", 6), std::pair("-srtm30", 7), std::pair("-srtm3", 9),
          std::pair("-fgd10", 6), std::pair("-fgd5", 6), std::pair("-gdal", 7)})
        for (int words = 1; words <= 12; ++words) {
            std::string line = words > 1 ? option : "";
            for (int more = 2; more < words; ++more)
                line += " 1";
            EXPECT_EQ(Words(line).parse().has_value(), words == count)
                << option << " with " << words << " words";
        }
    for (const char* line : {"-GSI50 d 1 2 3", "-gsi50x d 1 2 3", "-gsi5 d 1 2 3", "gsi50 d 1 2 3",
                             "-srtm3 d 1 2 3", "-FGD10 d 1 2 3", "-fgd d 1 2 3"})
        EXPECT_FALSE(Words(line).parse()) << line;
    const auto gsi50 = Words("-gsi50 d 533936 1 1").parse(), gsi250 = Words("-gsi250 dir 5339 -1 x").parse();
    const auto srtm30 = Words("-srtm30 d30 1 +2 3abc 4").parse();
    const auto srtm3 = Words("-srtm3 /s3 +12abc 639 -7 99999999999999 2 /s30").parse();
    const auto gdal = Words("-gdal dem.tif 35.5 +139.25 -1e1 140x").parse();
    ASSERT_TRUE(gsi50 && gsi250 && srtm30 && srtm3 && gdal);
    // Degrees are decimal numbers whatever the locale; a word that is not one
    // is left to the loader's argument check.
    EXPECT_EQ(std::tuple(gdal->dataSet, gdal->dataDir, gdal->box[0], gdal->box[1], gdal->box[2]),
              std::tuple(DataSet::gdal, "dem.tif", 35.5, 139.25, -10.0));
    EXPECT_TRUE(std::isnan(gdal->box[3]));
    EXPECT_EQ(std::tuple(gsi50->dataSet, gsi50->dataDir, gsi50->numbers),
              std::tuple(DataSet::gsi50, "d", std::array<int, 5>{533936, 1, 1, 0, 0}));
    EXPECT_EQ(std::tuple(gsi250->dataSet, gsi250->dataDir, gsi250->numbers),
              std::tuple(DataSet::gsi250, "dir", std::array<int, 5>{5339, -1, 0, 0, 0}));
    EXPECT_EQ(std::tuple(srtm30->dataSet, srtm30->dataDir, srtm30->numbers),
              std::tuple(DataSet::srtm30, "d30", std::array<int, 5>{1, 2, 3, 4, 0}));
    EXPECT_EQ(std::tuple(srtm3->dataSet, srtm3->dataDir, srtm3->numbers, srtm3->srtm30Dir),
              std::tuple(DataSet::srtm3, "/s3", std::array<int, 5>{12, 639, -7, INT_MAX, 2}, "/s30"));
    EXPECT_EQ(std::tuple(atoiClamped("  \t\n+17"), atoiClamped("abc"), atoiClamped("+-3"),
                         atoiClamped("0x1F"), atoiClamped("-2147483648"),
                         atoiClamped("-999999999999999999999x")),
              std::tuple(17, 0, 0, 0, INT_MIN, INT_MIN));
}

// Every fatal error an area on the command line can meet, huge numbers
// included: the loader's message, and never the memory a huge grid would take.
TEST(CommandLine, BadAreasEndInTheLoadersFatalError)
{
    const std::string most = " 99999999999999999999", least = " -99999999999999999999", gsi50 = "-gsi50 d",
                      gsi250 = "-gsi250 d", srtm30 = "-srtm30 d", srtm3 = "-srtm3 d";
    // Sheet row 8 or column 9, negative codes, empty areas; for SRTM past the
    // last row or column, before the first, reversed, and modes other than 0 .. 2.
    const std::map<std::string, std::vector<std::string>> cases = {
        {"*** ERROR gsi50 : argument.",
         {"-gsi50 d 533985 1 1", "-gsi50 d 533949 1 1", "-gsi50 d -533945 1 1",
          gsi50 + least + least + least}},
        {"*** ERROR gsi250 : argument.",
         {"-gsi250 d 5339 -1 0", "-gsi250 d 5339 1 -1", gsi250 + least + least + least}},
        {"*** GSI50M : No DEM files.",
         {"-gsi50 d 533945 1 1", "-gsi50 d 533945 0 2147483647", "-gsi50 d 533945 -3 2",
          gsi50 + most + " 1 1"}},
        {"*** GSI250M : No DEM files.",
         {"-gsi250 d 5339 1 1", "-gsi250 d 5339 0 2147483647", gsi250 + least + " 1 1"}},
        {"*** ERROR : the area is too large for this machine's memory.",
         {gsi50 + " 533945" + most + most, gsi250 + " 5339" + most + most, "-fgd10 d 533945" + most + most,
          "-fgd5 d 533945 1" + most, "-fgd10 d 533945 200 200"}},
        {"*** ERROR fgd10 : argument.", {"-fgd10 d" + least + least + least, "-fgd10 d 533948 1 1"}},
        {"*** ERROR fgd5 : argument.", {"-fgd5 d" + least + " 1 1"}},
        // d holds one 10 m file, malformed.
        {"*** FGD10M : No DEM files.", {"-fgd10 d" + most + " 1 1", "-fgd10 d 533945 1 1"}},
        {"*** FGD5M : No DEM files.",
         {"-fgd5 d" + most + least + " 1", "-fgd5 d 533946 1 1", "-fgd5 d 533945 0 1"}},
        {"*** ERROR srtm30 : argument.",
         {"-srtm30 d 0 0 30 0", "-srtm30 d 0 0 0 72", "-srtm30 d -1 0 0 0", "-srtm30 d 5 0 4 0",
          "-srtm30 d 0 9 0 8", srtm30 + most + most + most + most}},
        {"*** ERROR srtm3 : argument.",
         {"-srtm3 d 0 0 0 0 3 s", "-srtm3 d 0 0 0 0 -1 s", "-srtm3 d 0 0 300 0 0 s", "-srtm3 d 0 0 0 720 0 s",
          "-srtm3 d 2 0 1 0 0 s", srtm3 + least + least + least + least + least + " s",
          srtm3 + " 0 0 0 0" + most + " s"}},
    };
    testing_support::ScratchDir cwd(testing_support::ScratchDir::Enter::yes);
    testing_support::writeFile("d/FG-GML-5339-45-DEM10B-20161001.xml", "<Dataset>");
    for (const auto& [message, lines] : cases)
        for (const std::string& line : lines) {
            const Words words(line);
            EXPECT_EQ(fatalMessageOf([&] { loadFromCommandLine(int(words.argv.size()), words.argv.data()); }),
                      message)
                << line;
        }
    EXPECT_LT(peakResidentMiB(), kMostMiBForAHostileFile);
}

} // namespace
