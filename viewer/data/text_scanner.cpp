#include "data/text_scanner.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>

std::optional<std::string> readTextFile(const std::string& path)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"), std::fclose);
    if (!file)
        return std::nullopt;
    std::string text;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        text.append(chunk, got);
    if (std::ferror(file.get()))  // a directory opens but does not read
        return std::nullopt;
    return text;
}

namespace {
bool isWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

void TextScanner::skipWhiteSpace()
{
    while (pos_ < text_.size() && isWhiteSpace(text_[pos_]))
        ++pos_;
}

bool TextScanner::skipToEnd()
{
    skipWhiteSpace();
    return pos_ >= text_.size();
}

std::optional<int> TextScanner::readInt()
{
    skipWhiteSpace();
    std::size_t p = pos_;
    bool negative = false;
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-'))
        negative = text_[p++] == '-';
    if (p >= text_.size() || !isDigit(text_[p]))
        return std::nullopt;
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; p < text_.size() && isDigit(text_[p]); ++p) {
        if (magnitude <= limit)  // past the limit it only needs to stay there
            magnitude = magnitude * 10 + (text_[p] - '0');
    }
    pos_ = p;
    if (magnitude > limit)
        magnitude = limit;
    return static_cast<int>(negative ? -magnitude : magnitude);
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

std::string TextScanner::readRestOfLine()
{
    const std::size_t lineEnd = text_.find('\n', pos_);
    if (lineEnd == std::string::npos) {
        std::string rest = text_.substr(pos_);
        pos_ = text_.size();
        return rest;
    }
    std::size_t nameEnd = lineEnd;
    if (nameEnd > pos_ && text_[nameEnd - 1] == '\r')
        --nameEnd;
    std::string line = text_.substr(pos_, nameEnd - pos_);
    pos_ = lineEnd + 1;
    return line;
}
