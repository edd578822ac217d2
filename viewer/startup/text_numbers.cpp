#include "startup/text_numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t digitsFrom(std::string_view text, std::size_t at)
{
    std::size_t end = at;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return end;
}

}  // namespace

void NumberReader::skipSpace()
{
    while (position_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[position_])))
        ++position_;
}

bool NumberReader::readInt(int& value)
{
    if (failed_)
        return false;
    skipSpace();
    std::size_t at = position_;
    bool negative = false;
    if (at < text_.size() && (text_[at] == '+' || text_[at] == '-')) {
        negative = text_[at] == '-';
        ++at;
    }
    const std::size_t end = digitsFrom(text_, at);
    long long magnitude = 0;
    const long long limit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    for (std::size_t i = at; i < end && !failed_; ++i) {
        magnitude = magnitude * 10 + (text_[i] - '0');
        failed_ = magnitude > limit;
    }
    if (end == at || failed_ || (!negative && magnitude == limit)) {
        failed_ = true;
        return false;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    position_ = end;
    return true;
}

bool NumberReader::readDouble(double& value)
{
    if (failed_)
        return false;
    skipSpace();
    std::size_t at = position_;
    bool negative = false;
    if (at < text_.size() && (text_[at] == '+' || text_[at] == '-')) {
        negative = text_[at] == '-';
        ++at;
    }
    const std::size_t mantissaStart = at;
    std::size_t end = digitsFrom(text_, at);
    std::size_t digits = end - at;
    if (end < text_.size() && text_[end] == '.') {
        const std::size_t fractionEnd = digitsFrom(text_, end + 1);
        digits += fractionEnd - (end + 1);
        end = fractionEnd;
    }
    if (digits == 0) {
        failed_ = true;  // "inf", "nan" and words are not numbers here
        return false;
    }
    if (end < text_.size() && (text_[end] == 'e' || text_[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text_.size() && (text_[exponent] == '+' || text_[exponent] == '-'))
            ++exponent;
        const std::size_t exponentEnd = digitsFrom(text_, exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    double parsed = 0;
    const char* first = text_.data() + mantissaStart;
    const auto result = std::from_chars(first, text_.data() + end, parsed);
    if (result.ec != std::errc() || !std::isfinite(parsed)) {
        failed_ = true;
        return false;
    }
    value = negative ? -parsed : parsed;
    position_ = end;
    return true;
}
