#include "core/text_fields.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace skyloom {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// A decimal number written with a point, whatever the C library's locale.
std::optional<double> parseDecimal(const char* first, const char* last)
{
    if (first != last && *first == '+')
        ++first;
    if (first == last || *first == '+')
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

} // namespace

QByteArray formatNumber(std::int64_t value)
{
    QByteArray text(value < 0 ? "-" : " ");
    // The magnitude as unsigned, so that the lowest 64-bit value has one too.
    const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : value;
    text += QByteArray::number(static_cast<qulonglong>(magnitude));
    text += ' ';
    return text;
}

std::optional<std::int64_t> roundHalfEven(double value, std::int64_t low, std::int64_t high)
{
    if (!std::isfinite(value))
        return std::nullopt;
    double rounded = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5 && std::fmod(rounded, 2.0) != 0.0)
        rounded -= std::copysign(1.0, value);
    if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high))
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

void FieldReader::skipSeparatorsBeforeField()
{
    while (!atEnd() && (isBlank(peek()) || isLineEnd(peek())))
        ++pos_;
}

void FieldReader::skipAfterField()
{
    while (!atEnd() && isBlank(peek()))
        ++pos_;
    if (!atEnd() && peek() == ',')
        ++pos_;
}

std::optional<std::int64_t> FieldReader::readInteger(std::int64_t low, std::int64_t high)
{
    skipSeparatorsBeforeField();
    const qsizetype start = pos_;
    while (!atEnd() && !isBlank(peek()) && !isLineEnd(peek()) && peek() != ',')
        ++pos_;
    const char* data = bytes_.constData();
    const std::optional<double> value = parseDecimal(data + start, data + pos_);
    skipAfterField();
    if (!value)
        return std::nullopt;
    return roundHalfEven(*value, low, high);
}

std::optional<int> FieldReader::readInt32()
{
    const auto value = readInteger(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    if (!value)
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<QString> FieldReader::readText()
{
    skipSeparatorsBeforeField();
    if (atEnd())
        return std::nullopt;
    QByteArray field;
    if (peek() == '"') {
        const qsizetype close = bytes_.indexOf('"', pos_ + 1);
        if (close < 0)
            return std::nullopt;
        field = bytes_.mid(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
    } else {
        const qsizetype start = pos_;
        while (!atEnd() && peek() != ',' && !isLineEnd(peek()))
            ++pos_;
        field = bytes_.mid(start, pos_ - start);
        while (!field.isEmpty() && isBlank(field.back()))
            field.chop(1);
    }
    skipAfterField();
    return QString::fromUtf8(field);
}

} // namespace skyloom
