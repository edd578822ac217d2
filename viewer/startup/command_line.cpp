#include "startup/command_line.h"

#include <climits>
#include <cstring>

int atoiClamped(const char* word)
{
    const char* p = word;
    // The C locale's white space, as atoi skips it.
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    // Accumulate as a negative number so that INT_MIN itself fits.
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 - (*p - '0');
        if (value < static_cast<long long>(INT_MIN))
            return negative ? INT_MIN : INT_MAX;
    }
    if (negative)
        return static_cast<int>(value);
    return value < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-value);
}

namespace {

struct Form {
    int words;
    const char* option;
    DataSet dataSet;
    int numberCount;
    bool hasSrtm30Dir;
};

// In this order: with six words "-gsi50" is tried before "-gsi250".
constexpr Form forms[] = {
    {6, "-gsi50", DataSet::gsi50, 3, false},
    {6, "-gsi250", DataSet::gsi250, 3, false},
    {7, "-srtm30", DataSet::srtm30, 4, false},
    {9, "-srtm3", DataSet::srtm3, 5, true},
};

}  // namespace

std::optional<LoadRequest> parseCommandLine(int argc, const char* const argv[])
{
    for (const Form& form : forms) {
        if (argc != form.words || std::strcmp(argv[1], form.option) != 0)
            continue;
        LoadRequest request;
        request.dataSet = form.dataSet;
        request.dataDir = argv[2];
        for (int n = 0; n < form.numberCount; ++n)
            request.numbers[n] = atoiClamped(argv[3 + n]);
        if (form.hasSrtm30Dir)
            request.srtm30Dir = argv[3 + form.numberCount];
        return request;
    }
    return std::nullopt;
}
