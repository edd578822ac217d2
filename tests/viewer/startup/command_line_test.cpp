#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "startup/command_line.h"

namespace {

std::optional<LoadRequest> parse(const std::vector<std::string>& words)
{
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

// "orvex OPTION 2 3 ..." of count words in all.
std::vector<std::string> wordsOf(const std::string& option, int count)
{
    std::vector<std::string> words{"orvex", option};
    while (static_cast<int>(words.size()) < count)
        words.push_back(std::to_string(words.size()));
    return words;
}

TEST(AtoiClamped, ReadsLikeAtoiButClampsToInt)
{
    const struct {
        const char* word;
        int value;
    } cases[] = {
        {"533936", 533936},         {"  \t\n+17", 17},        {"-5", -5},       {"12abc", 12},
        {"abc", 0},                 {"", 0},                  {"- 3", 0},       {"+-3", 0},
        {"0x1F", 0},                {"1e3", 1},               {"\v\f\r9", 9},   {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},    {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN},
        {"99999999999999", INT_MAX}, {"-999999999999999999999999999x", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(atoiClamped(c.word), c.value) << '"' << c.word << '"';
}

TEST(CommandLine, EachOptionIsRecognisedOnlyAtItsWordCount)
{
    const struct {
        const char* option;
        int words;
    } forms[] = {{"-gsi50", 6}, {"-gsi250", 6}, {"-srtm30", 7}, {"-srtm3", 9}};
    for (const auto& form : forms)
        for (int count = 1; count <= 12; ++count)
            EXPECT_EQ(parse(wordsOf(form.option, count)).has_value(), count == form.words)
                << form.option << " with " << count << " words";
}

TEST(CommandLine, OptionsMatchWholeWordsExactly)
{
    for (const char* option : {"-GSI50", "-gsi50x", "-gsi5", "gsi50", "-gsi50 ", " -gsi50", "", "-srtm3"})
        EXPECT_FALSE(parse(wordsOf(option, 6))) << '"' << option << '"';
    for (const char* option : {"-SRTM30", "-srtm300", "-srtm3"})
        EXPECT_FALSE(parse(wordsOf(option, 7))) << '"' << option << '"';
}

TEST(CommandLine, CarriesDirectoriesAndNumbersInOrder)
{
    const auto gsi250 = parse({"orvex", "-gsi250", "d i r", "5339", "-1", "x"});
    ASSERT_TRUE(gsi250);
    EXPECT_EQ(gsi250->dataSet, DataSet::gsi250);
    EXPECT_EQ(gsi250->dataDir, "d i r");
    EXPECT_EQ(gsi250->numbers, (std::array<int, 5>{5339, -1, 0, 0, 0}));

    const auto srtm3 = parse({"orvex", "-srtm3", "/s3", "+12abc", "639", " -7", "99999999999999", "2", "/s30"});
    ASSERT_TRUE(srtm3);
    EXPECT_EQ(srtm3->dataSet, DataSet::srtm3);
    EXPECT_EQ(srtm3->dataDir, "/s3");
    EXPECT_EQ(srtm3->numbers, (std::array<int, 5>{12, 639, -7, INT_MAX, 2}));
    EXPECT_EQ(srtm3->srtm30Dir, "/s30");
}

}  // namespace
