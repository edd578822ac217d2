#include "data/text_fields.h"

namespace {
bool isFormatSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

bool FieldReader::readInt(int width, int& value)
{
    while (pos_ < text_.size() && isFormatSpace(text_[pos_]))
        ++pos_;
    if (pos_ == text_.size() || width < 1 || width > 9)
        return false;
    int used = 0;
    bool negative = false;
    if (text_[pos_] == '+' || text_[pos_] == '-') {
        negative = text_[pos_] == '-';
        ++pos_;
        ++used;
    }
    int digits = 0;
    int magnitude = 0;
    while (used < width && pos_ < text_.size() && isDigit(text_[pos_])) {
        magnitude = magnitude * 10 + (text_[pos_] - '0');
        ++pos_;
        ++used;
        ++digits;
    }
    if (digits == 0)
        return false;
    value = negative ? -magnitude : magnitude;
    return true;
}

std::string_view FieldReader::lineAtStart()
{
    while (pos_ < text_.size() && isFormatSpace(text_[pos_]))
        ++pos_;
    if (pos_ == text_.size() || (pos_ > 0 && text_[pos_ - 1] != '\n'))
        return {};
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos)
        end = text_.size();
    if (end > pos_ && text_[end - 1] == '\r')
        --end;
    return text_.substr(pos_, end - pos_);
}

void FieldReader::skipLine()
{
    const std::size_t lineFeed = text_.find('\n', pos_);
    pos_ = lineFeed == std::string_view::npos ? text_.size() : lineFeed + 1;
}

std::string_view FieldReader::takeLine()
{
    const std::size_t start = pos_;
    skipLine();
    std::size_t end = pos_;
    if (end > start && text_[end - 1] == '\n') {
        --end;
        if (end > start && text_[end - 1] == '\r')
            --end;
    }
    return text_.substr(start, end - start);
}
