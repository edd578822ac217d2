#include "fgd_text.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>

namespace demo {

namespace {

constexpr int sheet10Cols = 1125, sheet10Rows = 750, per10Degree = 9000;
constexpr int mesh5Cols = 225, mesh5Rows = 150, per5Degree = 18000;
constexpr int tertiaryPerSheet = 10;

double meshSouth(const FgdMeshPlace& place)
{
    return sheetSouth(place.sheet) + (place.fiveMetres() ? place.r / (12.0 * tertiaryPerSheet) : 0.0);
}

double meshWest(const FgdMeshPlace& place)
{
    return sheetWest(place.sheet) + (place.fiveMetres() ? place.s / (8.0 * tertiaryPerSheet) : 0.0);
}

// "5338-05" for the sheet, with "-38" for a tertiary mesh when `tertiary`.
std::string codeText(const FgdMeshPlace& place, bool tertiary, const char* separator)
{
    const int code = secondaryCode(place.sheet);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%s%02d", code / 100, separator, code % 100);
    std::string out = text;
    if (tertiary && place.fiveMetres())
        out += separator + std::to_string(place.r) + std::to_string(place.s);
    return out;
}

std::string dateText(const char* separator)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d%s%02d%s%02d", fgdYear, separator, fgdMonth, separator, fgdDay);
    return text;
}

void appendNumber(std::string& out, double value, int decimals)
{
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (error != std::errc())
        throw std::logic_error("a number too long for a DEM document");
    out.append(text, end);
}

void appendCorner(std::string& out, const char* element, double lat, double lon)
{
    out += std::string("<gml:") + element + ">";
    appendNumber(out, lat, 9);
    out += ' ';
    appendNumber(out, lon, 9);
    out += std::string("</gml:") + element + ">\n";
}

void appendTuples(std::string& out, const Raster& points)
{
    constexpr std::string_view sea = "海水面,-9999.\n", land = "地表面,";
    out.reserve(out.size() + points.metres.size() * (land.size() + 9));
    for (const float metres : points.metres) {
        if (isSea(metres)) {
            out += sea;
            continue;
        }
        out += land;
        appendNumber(out, metres, 2);
        out += '\n';
    }
}

} // namespace

SampleLattice fgdLattice(const FgdMeshPlace& place)
{
    const bool five = place.fiveMetres();
    const int perDegree = five ? per5Degree : per10Degree;
    const int rows = five ? mesh5Rows : sheet10Rows, cols = five ? mesh5Cols : sheet10Cols;
    const double north = meshSouth(place) + static_cast<double>(rows) / perDegree;
    const double halfStep = 0.5 / perDegree;
    return {north - halfStep, meshWest(place) + halfStep, perDegree, perDegree, rows, cols};
}

std::string fgdDocumentName(const FgdMeshPlace& place)
{
    return "FG-GML-" + codeText(place, true, "-") + (place.fiveMetres() ? "-DEM5A-" : "-DEM10B-") +
           dateText("") + ".xml";
}

std::string fgdArchiveName(MapCell sheet, bool fiveMetres)
{
    return "FG-GML-" + codeText({sheet}, false, "-") + (fiveMetres ? "-DEM5A.zip" : "-DEM10B.zip");
}

std::string fgdDocument(const FgdMeshPlace& place, const Raster& points)
{
    const SampleLattice lattice = fgdLattice(place);
    if (points.lattice.rows != lattice.rows || points.lattice.cols != lattice.cols)
        throw std::logic_error("the points do not fit the mesh");
    const std::string date = dateText("-");
    const std::string period = "<gml:timePosition>" + date + "</gml:timePosition>";
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<Dataset xmlns:gml=\"http://www.opengis.net/gml/3.2\" gml:id=\"Dataset1\">\n"
                      "<gml:description>デモ地形（合成データ）</gml:description>\n"
                      "<gml:name>基盤地図情報ダウンロードデータ（GML版）</gml:name>\n"
                      "<DEM gml:id=\"DEM001\">\n"
                      "<fid>demo-" +
                      codeText(place, true, "") + "</fid>\n<lfSpanFr gml:id=\"DEM001-1\">" + period +
                      "</lfSpanFr>\n<devDate gml:id=\"DEM001-2\">" + period +
                      "</devDate>\n<orgGILvl>0</orgGILvl>\n<orgMDId>DEMO</orgMDId>\n<type>" +
                      (place.fiveMetres() ? "5m" : "10m") + "メッシュ（標高）</type>\n<mesh>" +
                      codeText(place, true, "") +
                      "</mesh>\n<coverage gml:id=\"DEM001-3\">\n<gml:boundedBy>\n"
                      "<gml:Envelope srsName=\"fguuid:jgd2011.bl\">\n";
    const double south = meshSouth(place), west = meshWest(place);
    appendCorner(out, "lowerCorner", south, west);
    appendCorner(out, "upperCorner", south + static_cast<double>(lattice.rows) / lattice.rowsPerDegree,
                 west + static_cast<double>(lattice.cols) / lattice.colsPerDegree);
    out += "</gml:Envelope>\n</gml:boundedBy>\n<gml:gridDomain>\n<gml:Grid dimension=\"2\" "
           "gml:id=\"DEM001-4\">\n"
           "<gml:limits>\n<gml:GridEnvelope>\n<gml:low>0 0</gml:low>\n<gml:high>" +
           std::to_string(lattice.cols - 1) + " " + std::to_string(lattice.rows - 1) +
           "</gml:high>\n</gml:GridEnvelope>\n</gml:limits>\n<gml:axisLabels>x y</gml:axisLabels>\n"
           "</gml:Grid>\n</gml:gridDomain>\n<gml:rangeSet>\n<gml:DataBlock>\n"
           "<gml:rangeParameters><QuantityList uom=\"DEM構成点\"></QuantityList></gml:rangeParameters>\n"
           "<gml:tupleList>\n";
    appendTuples(out, points);
    out +=
        "</gml:tupleList>\n</gml:DataBlock>\n</gml:rangeSet>\n<gml:coverageFunction>\n<gml:GridFunction>\n"
        "<gml:sequenceRule order=\"+x-y\">Linear</gml:sequenceRule>\n<gml:startPoint>0 0</gml:startPoint>\n"
        "</gml:GridFunction>\n</gml:coverageFunction>\n</coverage>\n</DEM>\n</Dataset>\n";
    return out;
}

} // namespace demo
