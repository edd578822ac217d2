#include "data/text_scanner.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace orvex {

namespace {
bool isWhiteSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Past either end of int, so that clamping and range tests still see it.
constexpr long long beyondInt = static_cast<long long>(INT_MAX) + 2;
} // namespace

void TextScanner::skipWhiteSpace()
{
    std::size_t p = pos_;
    while (p < text_.size() && isWhiteSpace(text_[p]))
        ++p;
    pos_ = p;
}

bool TextScanner::atEnd()
{
    skipWhiteSpace();
    return pos_ >= text_.size();
}

bool TextScanner::readWholeNumber(std::size_t width, long long& value)
{
    skipWhiteSpace();
    const char* const text = text_.data();
    const std::size_t end = pos_ + std::min(width, text_.size() - pos_);
    std::size_t p = pos_;
    const bool negative = p < end && text[p] == '-';
    if (p < end && (text[p] == '+' || text[p] == '-'))
        ++p;
    const std::size_t firstDigit = p;
    long long magnitude = 0;
    for (; p < end && isDigit(text[p]); ++p) {
        if (magnitude < beyondInt) // past the range of int it only needs to stay there
            magnitude = magnitude * 10 + (text[p] - '0');
    }
    if (p == firstDigit)
        return false;
    pos_ = p;
    value = negative ? -magnitude : magnitude;
    return true;
}

std::optional<int> TextScanner::readExactInt()
{
    const std::size_t start = pos_;
    long long value = 0;
    if (!readWholeNumber(std::string::npos, value) || value < INT_MIN || value > INT_MAX) {
        pos_ = start;
        return std::nullopt;
    }
    return static_cast<int>(value);
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

} // namespace orvex
