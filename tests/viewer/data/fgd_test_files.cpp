#include "fgd_test_files.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <cstdio>
#include <stdexcept>

#include "../viewer_test.h"

using namespace testing_support;

std::string fgdXml(const FgdDocument& document)
{
    const bool tenMetres = document.resolution == orvex::FgdResolution::metres10;
    const orvex::FgdMeshShape shape = orvex::fgdMeshShape(document.resolution);
    const orvex::MeshCode& code = document.code;
    const double south = orvex::meshSouth(code), west = orvex::meshWest(code);
    char corners[200];
    std::snprintf(
        corners, sizeof corners,
        "<gml:lowerCorner>%.9f %.9f</gml:lowerCorner>\n<gml:upperCorner>%.9f %.9f</gml:upperCorner>\n", south,
        west, south + shape.height, west + shape.width);
    char mesh[16];
    std::snprintf(mesh, sizeof mesh, "%02d%02d%d%d", code.pp, code.qq, code.p, code.q);
    std::string meshCode = mesh;
    if (!tenMetres)
        meshCode += std::to_string(code.r) + std::to_string(code.s);

    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<Dataset xmlns:gml=\"http://www.opengis.net/gml/3.2\" "
                       "xmlns=\"http://fgd.gsi.go.jp/spec/2008/FGD_GMLSchema\" gml:id=\"Dataset1\">\n"
                       "<DEM gml:id=\"DEM001\">\n<mesh>" +
                       meshCode + "</mesh>\n<type>" + (tenMetres ? "10m" : "5m") +
                       "メッシュ（標高）</type>\n<coverage gml:id=\"DEM001-3\">\n<gml:boundedBy>\n"
                       "<gml:Envelope srsName=\"fguuid:jgd2011.bl\">\n" +
                       corners +
                       "</gml:Envelope>\n</gml:boundedBy>\n<gml:gridDomain>\n<gml:Grid dimension=\"2\">\n"
                       "<gml:limits>\n<gml:GridEnvelope>\n<gml:low>0 0</gml:low>\n<gml:high>" +
                       std::to_string(shape.cols - 1) + " " + std::to_string(shape.rows - 1) +
                       "</gml:high>\n</gml:GridEnvelope>\n</gml:limits>\n</gml:Grid>\n</gml:gridDomain>\n"
                       "<gml:rangeSet>\n<gml:DataBlock>\n<gml:tupleList>\n";
    const long first = static_cast<long>(document.startY) * shape.cols + document.startX;
    const long end = document.tuples < 0 ? long{shape.cols} * shape.rows : first + document.tuples;
    for (long k = first; k < end; ++k)
        text += document.tuple(static_cast<int>(k % shape.cols), static_cast<int>(k / shape.cols)) + "\n";
    text +=
        "</gml:tupleList>\n</gml:DataBlock>\n</gml:rangeSet>\n<gml:coverageFunction>\n<gml:GridFunction>\n"
        "<gml:sequenceRule order=\"+x-y\">Linear</gml:sequenceRule>\n<gml:startPoint>" +
        std::to_string(document.startX) + " " + std::to_string(document.startY) +
        "</gml:startPoint>\n</gml:GridFunction>\n</gml:coverageFunction>\n</coverage>\n</DEM>\n"
        "</Dataset>\n";
    return text;
}

std::string fgdName(const orvex::MeshCode& code, const std::string& kind, const std::string& date,
                    const std::string& extension)
{
    char name[64];
    std::snprintf(name, sizeof name, "FG-GML-%02d%02d-%d%d-", code.pp, code.qq, code.p, code.q);
    std::string text = name;
    if (code.r >= 0)
        text += std::to_string(code.r) + std::to_string(code.s) + "-";
    return text + "DEM" + kind + (date.empty() ? "" : "-" + date) + extension;
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    if (at == std::string::npos || text.find(from, at + 1) != std::string::npos)
        throw std::invalid_argument("not found once: " + from);
    return text.replace(at, from.size(), to);
}

std::string zipBytes(const std::vector<std::pair<std::string, std::string>>& members)
{
    ScratchDir dir;
    const std::string path = dir.file("archive.zip");
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        throw std::runtime_error("cannot write " + path);
    bool added = true;
    for (const auto& [name, bytes] : members) {
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        const zip_int64_t index = source ? zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0)
            zip_source_free(source);
        // The fastest deflate: the tests write tens of megabytes.
        added =
            added && index >= 0 && zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_DEFLATE, 1) == 0;
    }
    if (!added || zip_close(zip) != 0) {
        zip_discard(zip);
        throw std::runtime_error("cannot write " + path);
    }
    return fileText(path);
}
