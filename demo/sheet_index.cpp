#include "sheet_index.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string_view>

namespace demo {

namespace {

struct Place {
    const char* name;
    double lat;
    double lon;
};

// Places whose positions are well known; a sheet takes the name of the first
// one that lies in it.
constexpr std::array places = {
    Place{"富士山", 35.3608, 138.7275},   // summit, Kengamine
    Place{"箱根", 35.2325, 139.1067},     // town office, Yumoto
    Place{"小田原", 35.2564, 139.1551},   // station
    Place{"丹沢山", 35.4747, 139.1625},   // summit
    Place{"秦野", 35.3747, 139.2214},     // station
    Place{"御殿場", 35.3000, 138.9344},   // station
    Place{"富士吉田", 35.4875, 138.8078}, // city office
    Place{"大磯", 35.3088, 139.3108},     // station
    Place{"伊勢原", 35.3961, 139.3147},   // station
    Place{"厚木", 35.4393, 139.3647},     // Hon-Atsugi station
    Place{"山北", 35.3609, 139.0847},     // station
    Place{"南足柄", 35.3213, 139.0992},   // city office
    Place{"鳴沢", 35.4778, 138.7075},     // village office
};

struct CellName {
    int code;
    const char* name;
};

constexpr std::array cellNames = {
    CellName{5338, "甲府"},
    CellName{5339, "東京"},
    CellName{5238, "静岡"},
    CellName{5239, "横須賀"},
};

std::string neutralName(int code)
{
    return "デモ" + std::to_string(code);
}

// A map cell is about eight Shift-JIS bytes wide and neighbouring sheets
// differ only in their last two digits (row and column in the primary
// square), so those are all a nameless sheet needs: "デモ62" is six bytes.
std::string neutralSheetName(int code)
{
    const int digits = code % 100;
    return "デモ" + std::string(1, char('0' + digits / 10)) + char('0' + digits % 10);
}

// Degrees with four decimals, rounded (35.1666... gives "35.1667").
std::string degrees(double value)
{
    const long tenThousandths = std::lround(value * 10000);
    std::string fraction = std::to_string(tenThousandths % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    return std::to_string(tenThousandths / 10000) + "." + fraction;
}

class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from))
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string convert(const std::string& input)
    {
        std::string output(input.size() * 2 + 16, '\0');
        char* in = const_cast<char*>(input.data()); // iconv's signature; it does not write
        std::size_t inLeft = input.size();
        char* out = output.data();
        std::size_t outLeft = output.size();
        while (inLeft > 0) {
            if (iconv(handle_, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1))
                continue;
            if (errno != E2BIG)
                throw std::runtime_error("text cannot be converted at byte " +
                                         std::to_string(input.size() - inLeft));
            const std::size_t used = output.size() - outLeft;
            output.resize(output.size() * 2);
            out = output.data() + used;
            outLeft = output.size() - used;
        }
        output.resize(output.size() - outLeft);
        return output;
    }

  private:
    iconv_t handle_;
};

} // namespace

std::string sheetName50(MapCell sheet)
{
    for (const Place& place : places) {
        const MapCell at = sheetAt(place.lat, place.lon);
        if (at.x == sheet.x && at.y == sheet.y)
            return place.name;
    }
    return neutralSheetName(secondaryCode(sheet));
}

std::string cellName250(int code)
{
    for (const CellName& cell : cellNames)
        if (cell.code == code)
            return cell.name;
    return neutralName(code);
}

std::string indexText(const std::vector<IndexLine>& lines)
{
    std::string text = "コード,図名,南端緯度,西端経度,備考\r\n";
    for (const IndexLine& line : lines)
        text += std::to_string(line.code) + "," + line.name + "," + degrees(line.south) + "," +
                degrees(line.west) + ",デモ地形\r\n";
    return text;
}

std::string toShiftJis(const std::string& utf8)
{
    return Converter("SHIFT_JIS", "UTF-8").convert(utf8);
}

std::string fromShiftJis(const std::string& sjis)
{
    return Converter("UTF-8", "SHIFT_JIS").convert(sjis);
}

} // namespace demo
