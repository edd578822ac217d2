#pragma once
// GSI DEM documents and ZIP archives for the FGD tests, written as
// published.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "data/fgd_mesh.h"

// The tuple ("kind,metres") of point (x, y), counted from the north-west.
using TupleAt = std::function<std::string(int x, int y)>;

struct FgdDocument {
    orvex::FgdResolution resolution = orvex::FgdResolution::metres10;
    orvex::MeshCode code{53, 39, 4, 5};
    TupleAt tuple;
    int startX = 0;
    int startY = 0;
    long tuples = -1; // how many the list holds; -1: up to the mesh's end
};

// The document with a header describing its mesh: code, type, envelope,
// grid envelope, order and start point.
std::string fgdXml(const FgdDocument& document);

// FG-GML-PPQQ-pq[-rs]-DEM<kind>-<date>.xml, or without the date and with
// `extension` for an archive.
std::string fgdName(const orvex::MeshCode& code, const std::string& kind, const std::string& date,
                    const std::string& extension = ".xml");

// `text` with its only occurrence of `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to);

// A ZIP archive (deflated) of the members, by name and bytes.
std::string zipBytes(const std::vector<std::pair<std::string, std::string>>& members);
