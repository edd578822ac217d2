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

// "orvex OPTION" followed by filler words up to count words in all.
std::vector<std::string> wordsOf(const std::string& option, int count)
{
    std::vector<std::string> words{"orvex", option};
    while (static_cast<int>(words.size()) < count)
        words.push_back(std::to_string(words.size()));
    words.resize(count);
    return words;
}

TEST(AtoiClamped, ReadsLikeAtoi)
{
    const struct {
        const char* word;
        int value;
    } cases[] = {
        {"533936", 533936}, {"  \t\n+17", 17}, {"-5", -5},    {"12abc", 12}, {"abc", 0},
        {"", 0},            {"- 3", 0},        {"+-3", 0},    {"0x1F", 0},   {"1e3", 1},
        {"007", 7},         {"-0", 0},         {"3 4", 3},    {"\v\f\r9", 9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(atoiClamped(c.word), c.value) << '"' << c.word << '"';
}

TEST(AtoiClamped, ClampsToTheRangeOfInt)
{
    EXPECT_EQ(atoiClamped("2147483647"), INT_MAX);
    EXPECT_EQ(atoiClamped("2147483648"), INT_MAX);
    EXPECT_EQ(atoiClamped("-2147483648"), INT_MIN);
    EXPECT_EQ(atoiClamped("-2147483649"), INT_MIN);
    EXPECT_EQ(atoiClamped("99999999999999"), INT_MAX);
    EXPECT_EQ(atoiClamped("-99999999999999999999999999999999xyz"), INT_MIN);
    EXPECT_EQ(atoiClamped("000000000000000000000000000042"), 42);
}

TEST(CommandLine, EachOptionIsRecognisedOnlyAtItsWordCount)
{
    const struct {
        const char* option;
        int words;
    } forms[] = {{"-gsi50", 6}, {"-gsi250", 6}, {"-srtm30", 7}, {"-srtm3", 9}};
    for (const auto& form : forms) {
        for (int count = 2; count <= 12; ++count) {
            const bool named = parse(wordsOf(form.option, count)).has_value();
            EXPECT_EQ(named, count == form.words) << form.option << " with " << count << " words";
        }
    }
    EXPECT_FALSE(parse({"orvex"}));
}

TEST(CommandLine, OptionsMatchWholeWordsExactly)
{
    for (const char* option : {"-GSI50", "-Gsi50", "-gsi50x", "-gsi5", "gsi50", "--gsi50", "-gsi50 ", " -gsi50",
                               "-gsi", "", "-srtm3", "-srtm30"})
        EXPECT_FALSE(parse(wordsOf(option, 6))) << '"' << option << '"';
    for (const char* option : {"-SRTM30", "-srtm300", "-srtm3"})
        EXPECT_FALSE(parse(wordsOf(option, 7))) << '"' << option << '"';
    for (const char* option : {"-SRTM3", "-srtm30", "-srtm3\t"})
        EXPECT_FALSE(parse(wordsOf(option, 9))) << '"' << option << '"';
}

TEST(CommandLine, CarriesDirectoriesAndNumbersInOrder)
{
    const auto gsi50 = parse({"orvex", "-gsi50", "../GSI50M", "533936", "2", "3"});
    ASSERT_TRUE(gsi50);
    EXPECT_EQ(gsi50->dataSet, DataSet::gsi50);
    EXPECT_EQ(gsi50->dataDir, "../GSI50M");
    EXPECT_EQ(gsi50->numbers, (std::array<int, 5>{533936, 2, 3, 0, 0}));

    const auto gsi250 = parse({"orvex", "-gsi250", "d i r", "5339", "-1", "x"});
    ASSERT_TRUE(gsi250);
    EXPECT_EQ(gsi250->dataSet, DataSet::gsi250);
    EXPECT_EQ(gsi250->dataDir, "d i r");  // passed on unchanged
    EXPECT_EQ(gsi250->numbers, (std::array<int, 5>{5339, -1, 0, 0, 0}));

    const auto srtm30 = parse({"orvex", "-srtm30", "/s30", "1", "2", "3", "4"});
    ASSERT_TRUE(srtm30);
    EXPECT_EQ(srtm30->dataSet, DataSet::srtm30);
    EXPECT_EQ(srtm30->numbers, (std::array<int, 5>{1, 2, 3, 4, 0}));
    EXPECT_EQ(srtm30->srtm30Dir, "");

    const auto srtm3 = parse({"orvex", "-srtm3", "/s3", "109", "639", "110", "640", "2", "/s30"});
    ASSERT_TRUE(srtm3);
    EXPECT_EQ(srtm3->dataSet, DataSet::srtm3);
    EXPECT_EQ(srtm3->dataDir, "/s3");
    EXPECT_EQ(srtm3->numbers, (std::array<int, 5>{109, 639, 110, 640, 2}));
    EXPECT_EQ(srtm3->srtm30Dir, "/s30");
}

TEST(CommandLine, NumbersAreConvertedButNotRangeChecked)
{
    const auto request = parse({"orvex", "-srtm3", "d", "+12abc", "abc", " -7", "99999999999999", "9", "s"});
    ASSERT_TRUE(request);
    EXPECT_EQ(request->numbers, (std::array<int, 5>{12, 0, -7, INT_MAX, 9}));
}

}  // namespace
