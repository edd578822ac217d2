#include "core/coastline.h"

#include "core/file_start.h"
#include "core/map_state.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace skyloom {

namespace {

// Splits the text into number fields. std::from_chars reads them, so the C
// library's locale (which Qt sets from the environment) cannot change how a
// decimal point is read.
class FieldReader {
  public:
    explicit FieldReader(const QByteArray& text)
        : rest_(text.constData(), static_cast<std::size_t>(text.size()))
    {
    }

    // The next field, or an empty view at the end of the text.
    std::string_view next()
    {
        skipSeparators();
        std::size_t length = 0;
        while (length < rest_.size() && !isSeparator(rest_[length]))
            ++length;
        const std::string_view field = rest_.substr(0, length);
        rest_.remove_prefix(length);
        return field;
    }

    bool atEnd()
    {
        skipSeparators();
        return rest_.empty();
    }

  private:
    static bool isSeparator(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void skipSeparators()
    {
        while (!rest_.empty() && isSeparator(rest_.front()))
            rest_.remove_prefix(1);
    }

    std::string_view rest_;
};

std::string_view withoutPlus(std::string_view field)
{
    if (field.size() > 1 && field.front() == '+')
        field.remove_prefix(1);
    return field;
}

std::optional<long long> parseCount(std::string_view field)
{
    field = withoutPlus(field);
    long long value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

std::optional<float> parseDegrees(std::string_view field)
{
    field = withoutPlus(field);
    float value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || end != field.data() + field.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

struct CoastPoint {
    float lon;
    float lat;
};

std::optional<CoastPoint> readPoint(FieldReader& reader)
{
    const std::optional<float> lon = parseDegrees(reader.next());
    if (!lon)
        return std::nullopt;
    const std::optional<float> lat = parseDegrees(reader.next());
    if (!lat)
        return std::nullopt;
    return CoastPoint{*lon, *lat};
}

} // namespace

std::optional<std::vector<CoastSegment>> parseCoast(const QByteArray& text)
{
    std::vector<CoastSegment> segments;
    FieldReader reader(text);
    while (!reader.atEnd()) {
        const std::optional<long long> count = parseCount(reader.next());
        if (!count)
            return std::nullopt;
        std::optional<CoastPoint> previous;
        for (long long i = 0; i < *count; ++i) {
            const std::optional<CoastPoint> point = readPoint(reader);
            if (!point)
                return std::nullopt;
            if (previous)
                segments.push_back({previous->lon, previous->lat, point->lon, point->lat});
            previous = point;
        }
    }
    return segments;
}

void ReadCoast(MapState& state, const QString& path)
{
    state.coastSegments.clear();
    state.coastCount = 0;
    // A file cut at the limit would end inside a polyline anyway.
    const std::optional<FileStart> text = readFileStart(path, kLongestCoastFile);
    if (!text || !text->complete)
        return;
    if (std::optional<std::vector<CoastSegment>> segments = parseCoast(text->bytes)) {
        state.coastSegments = std::move(*segments);
        state.coastCount = static_cast<int>(state.coastSegments.size());
    }
}

} // namespace skyloom
