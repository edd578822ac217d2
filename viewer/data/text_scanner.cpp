#include "data/text_scanner.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {
bool isWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Past either end of int, so that clamping and range tests still see it.
constexpr long long beyondInt = static_cast<long long>(INT_MAX) + 2;
}  // namespace

void TextScanner::skipWhiteSpace()
{
    while (pos_ < text_.size() && isWhiteSpace(text_[pos_]))
        ++pos_;
}

bool TextScanner::atEnd()
{
    skipWhiteSpace();
    return pos_ >= text_.size();
}

std::optional<long long> TextScanner::readWholeNumber(std::size_t width)
{
    skipWhiteSpace();
    const std::size_t end = pos_ + std::min(width, text_.size() - pos_);
    std::size_t p = pos_;
    const bool negative = p < end && text_[p] == '-';
    if (p < end && (text_[p] == '+' || text_[p] == '-'))
        ++p;
    const std::size_t firstDigit = p;
    long long magnitude = 0;
    for (; p < end && isDigit(text_[p]); ++p)
        magnitude = std::min(magnitude * 10 + (text_[p] - '0'), beyondInt);
    if (p == firstDigit)
        return std::nullopt;
    pos_ = p;
    return negative ? -magnitude : magnitude;
}

std::optional<int> TextScanner::readInt(std::size_t width)
{
    const std::optional<long long> value = readWholeNumber(width);
    if (!value)
        return std::nullopt;
    return static_cast<int>(std::clamp<long long>(*value, INT_MIN, INT_MAX));
}

std::optional<int> TextScanner::readExactInt()
{
    const std::size_t start = pos_;
    const std::optional<long long> value = readWholeNumber(std::string::npos);
    if (!value || *value < INT_MIN || *value > INT_MAX) {
        pos_ = start;
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

std::optional<double> TextScanner::readDouble()
{
    skipWhiteSpace();
    // c_str() ends the text with a NUL, so strtod cannot run past it; nothing
    // in the viewer calls setlocale, so the decimal point is '.'.
    const char* start = text_.c_str() + pos_;
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start)
        return std::nullopt;
    pos_ += static_cast<std::size_t>(end - start);
    return value;
}

void TextScanner::skipLine()
{
    const std::size_t lineFeed = text_.find('\n', pos_);
    pos_ = lineFeed == std::string::npos ? text_.size() : lineFeed + 1;
}

std::string_view TextScanner::readRestOfLine()
{
    const std::size_t start = pos_;
    skipLine();
    std::size_t end = pos_;
    if (end > start && text_[end - 1] == '\n') {
        --end;
        if (end > start && text_[end - 1] == '\r')
            --end;
    }
    return std::string_view(text_).substr(start, end - start);
}

std::string_view TextScanner::lineAtStart()
{
    skipWhiteSpace();
    if (pos_ == text_.size() || (pos_ > 0 && text_[pos_ - 1] != '\n'))
        return {};
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string::npos)
        end = text_.size();
    if (end > pos_ && text_[end - 1] == '\r')
        --end;
    return std::string_view(text_).substr(pos_, end - pos_);
}
