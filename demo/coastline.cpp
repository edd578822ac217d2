#include "coastline.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace demo {

namespace {

class NumberReader {
  public:
    explicit NumberReader(const std::string& text) : text_(text) {}

    bool atEnd()
    {
        skipSeparators();
        return pos_ >= text_.size();
    }

    template <typename T> bool read(T& value)
    {
        skipSeparators();
        const char* first = text_.data() + pos_;
        const char* last = text_.data() + text_.size();
        const auto [end, error] = std::from_chars(first, last, value);
        if (error != std::errc() || end == first)
            return false;
        pos_ += static_cast<std::size_t>(end - first);
        return true;
    }

  private:
    void skipSeparators()
    {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c != ',' && c != ' ' && c != '\t' && c != '\r' && c != '\n')
                break;
            ++pos_;
        }
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

} // namespace

Coastline parseCoastline(const std::string& text, const std::string& origin)
{
    Coastline coast;
    NumberReader reader(text);
    while (!reader.atEnd()) {
        long count = 0;
        if (!reader.read(count) || count < 1)
            throw std::runtime_error(origin + ": bad point count");
        double lon = 0;
        double lat = 0;
        for (long k = 0; k < count; ++k) {
            const double prevLon = lon;
            const double prevLat = lat;
            if (!reader.read(lon) || !reader.read(lat))
                throw std::runtime_error(origin + ": bad or missing point");
            if (k > 0)
                coast.segments.push_back({prevLon, prevLat, lon, lat});
        }
    }
    return coast;
}

Coastline readCoastline(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": cannot open the coastline");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw std::runtime_error(path + ": cannot read the coastline");
    return parseCoastline(text.str(), path);
}

} // namespace demo
