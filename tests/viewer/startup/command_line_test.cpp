#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "../../hostile_files.h"
#include "../test_files.h"
#include "app/command_line.h"
#include "app/load_request.h"

namespace {

std::optional<LoadRequest> parse(const std::vector<std::string>& words)
{
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, NumbersReadLikeAtoiButClampedToInt)
{
    const std::pair<const char*, int> cases[] = {
        {"533936", 533936},
        {"  \t\n+17", 17},
        {"12abc", 12},
        {"abc", 0},
        {"+-3", 0},
        {"0x1F", 0},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-999999999999999999999999999x", INT_MIN},
    };
    for (const auto& [word, value] : cases)
        EXPECT_EQ(atoiClamped(word), value) << '"' << word << '"';
}

TEST(CommandLine, EachOptionIsRecognisedWholeAndOnlyAtItsWordCount)
{
    const std::pair<const char*, int> forms[] = {{"-gsi50", 6}, {"-gsi250", 6}, {"-srtm30", 7},
                                                 {"-srtm3", 9}, {"-fgd10", 6},  {"-fgd5", 6}};
    for (const auto& [option, count] : forms)
        for (int words = 1; words <= 12; ++words) {
            std::vector<std::string> line{"orvex", option};
            line.resize(words, "1");
            EXPECT_EQ(parse(line).has_value(), words == count) << option << " with " << words << " words";
        }
    for (const char* option : {"-GSI50", "-gsi50x", "-gsi5", "gsi50", "-gsi50 ", "", "-srtm3", "-srtm30",
                               "-fgd", "-FGD10", "-fgd50"})
        EXPECT_FALSE(parse({"orvex", option, "d", "1", "2", "3"})) << '"' << option << '"';
}

TEST(CommandLine, CarriesDirectoriesAndNumbersInOrder)
{
    const auto gsi250 = parse({"orvex", "-gsi250", "d i r", "5339", "-1", "x"});
    ASSERT_TRUE(gsi250);
    EXPECT_EQ(gsi250->dataSet, DataSet::gsi250);
    EXPECT_EQ(gsi250->dataDir, "d i r");
    EXPECT_EQ(gsi250->numbers, (std::array<int, 5>{5339, -1, 0, 0, 0}));
    const auto srtm3 =
        parse({"orvex", "-srtm3", "/s3", "+12abc", "639", " -7", "99999999999999", "2", "/s30"});
    ASSERT_TRUE(srtm3);
    EXPECT_EQ(srtm3->dataSet, DataSet::srtm3);
    EXPECT_EQ(srtm3->numbers, (std::array<int, 5>{12, 639, -7, INT_MAX, 2}));
    EXPECT_EQ(std::pair(srtm3->dataDir, srtm3->srtm30Dir),
              std::pair(std::string("/s3"), std::string("/s30")));
}

TEST(CommandLine, HugeNumbersForEveryOptionEndInAFatalErrorWithoutTakingMemory)
{
    const std::string most = "99999999999999999999", least = "-99999999999999999999";
    const std::string tooLarge = "*** ERROR : the area is too large for this machine's memory.";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-gsi50", "d", most, most, most}, tooLarge},
        {{"-gsi50", "d", least, least, least}, "*** ERROR gsi50 : argument."},
        {{"-gsi50", "d", most, "1", "1"}, "*** GSI50M : No DEM files."},
        {{"-gsi250", "d", most, most, most}, tooLarge},
        {{"-gsi250", "d", least, least, least}, "*** ERROR gsi250 : argument."},
        {{"-gsi250", "d", least, "1", "1"}, "*** GSI250M : No DEM files."},
        {{"-gsi250", "d", most, "1", "1"}, "*** GSI250M : No DEM files."},
        {{"-srtm30", "d", most, most, most, most}, "*** ERROR srtm30 : argument."},
        {{"-srtm30", "d", least, least, least, least}, "*** ERROR srtm30 : argument."},
        {{"-srtm3", "d", most, most, most, most, most, "d30"}, "*** ERROR srtm3 : argument."},
        {{"-srtm3", "d", least, least, least, least, least, "d30"}, "*** ERROR srtm3 : argument."},
        {{"-srtm3", "d", "0", "0", "0", "0", most, "d30"}, "*** ERROR srtm3 : argument."},
        {{"-fgd10", "d", most, most, most}, tooLarge},
        {{"-fgd10", "d", least, least, least}, "*** ERROR fgd10 : argument."},
        {{"-fgd10", "d", most, "1", "1"}, "*** FGD10M : No DEM files."},
        {{"-fgd5", "d", "533945", "1", most}, tooLarge},
        {{"-fgd5", "d", least, "1", "1"}, "*** ERROR fgd5 : argument."},
        {{"-fgd5", "d", most, least, "1"}, "*** FGD5M : No DEM files."},
    };
    ScratchWorkingDir dir;
    for (const auto& [words, message] : cases) {
        std::vector<std::string> line{"orvex"};
        line.insert(line.end(), words.begin(), words.end());
        std::vector<const char*> argv;
        for (const std::string& word : line)
            argv.push_back(word.c_str());
        const std::string ending =
            fatalMessageOf([&] { loadFromCommandLine(static_cast<int>(argv.size()), argv.data()); });
        EXPECT_EQ(ending, message) << line[1] << " " << line[3] << " " << line[4];
    }
    EXPECT_LT(peakResidentMiB(), kMostMiBForAHostileFile);
}

} // namespace
