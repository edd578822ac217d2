// Every file the viewer reads, replaced by a directory, an empty file, random
// bytes or a 2 GiB file of zeros: no crash, no fatal error the file cannot
// explain, and never more memory than a real file would need.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "../../hostile_files.h"
#include "../viewer_test.h"
#include "data/colour_file.h"
#include "data/loaders.h"
#include "data/mountain_file.h"
#include "data/view_state_file.h"
#include "state/colour_table.h"
#include "state/grid.h"
#include "state/mountain_table.h"
#include "state/view_state.h"

using namespace orvex;

namespace {

// What a reader made of its file, as text: a grid's size, lowest and highest
// elevation and points without a valid sample; the count of colours or
// summits; the window size, brightness and name mode.
std::string summary(const ElevationGrid& g)
{
    float low = INFINITY, high = -INFINITY;
    long invalid = 0, finite = 0;
    for (int n = 0; n < g.gridRows * g.gridCols; ++n) {
        low = std::min(low, g.points[n].elevation), high = std::max(high, g.points[n].elevation);
        invalid += g.points[n].sampleState != SampleState::valid, finite += std::isfinite(g.points[n].z);
    }
    std::ostringstream text;
    text << g.gridRows << "x" << g.gridCols << " " << low << ".." << high << " " << invalid
         << (finite == g.gridRows * g.gridCols ? "" : " with heights that are not finite");
    return text.str();
}

// Each file: its name, where the reader looks, the reading, and what comes of
// a directory, an empty file and a file of zeros.
const std::tuple<const char*, const char*, std::string (*)(), std::string (*)(Hostile)> viewerFiles[] = {
    {"Gsi50Sheet", "DATA/5339/533945.MEM", [] { return summary((readgsi50(".", 533945, 1, 1), grid)); },
     [](Hostile kind) -> std::string {
         return kind == Hostile::directory ? "*** GSI50M : No DEM files." : "200x200 -999..-999 0";
     }},
    {"Gsi250Cell", "DATA/250M/5339.SEM", [] { return summary((readgsi250(".", 5339, 1, 1), grid)); },
     [](Hostile kind) -> std::string {
         return kind == Hostile::directory ? "*** GSI250M : No DEM files." : "320x320 -999..-999 0";
     }},
    // Zeros are valid samples of sea; no samples leave every point unread.
    {"Srtm3Tile", "n35e139.hgt", [] { return summary((readsrtm3(".", 108, 638, 108, 638, 2, "."), grid)); },
     [](Hostile kind) -> std::string {
         return kind == Hostile::sparse2GB ? "601x601 -9999..-9999 0" : "601x601 0..0 361201";
     }},
    {"Srtm30Tile", "e100n40.dem", [] { return summary((readsrtm30(".", 10, 56, 10, 56), grid)); },
     [](Hostile) -> std::string { return "600x600 0..0 0"; }},
    // A directory is no colour file; the viewer cannot go on without one.
    {"ColourFile", "orvex.col", [] { return std::to_string((readcolor(), colours.colourCount)); },
     [](Hostile kind) -> std::string { return kind == Hostile::directory ? "*** readcolor-1." : "0"; }},
    {"SummitList", "MtJapan.txt", [] { return std::to_string((readmountain(), mountains.mountainCount)); },
     [](Hostile) -> std::string { return "0"; }},
    {"ViewStateFile", "orvex.env",
     [] {
         view = ViewState{}, loadViewState();
         return std::to_string(view.windowWidth) + "x" + std::to_string(view.windowHeight) + " " +
                std::to_string(view.brightness) + " " + std::to_string(int(view.nameMode));
     },
     [](Hostile) -> std::string { return "700x550 1.000000 0"; }},
};

class HostileViewerFile : public testing::TestWithParam<std::tuple<int, Hostile>> {};

TEST_P(HostileViewerFile, IsReadSafelyInBoundedMemory)
{
    const auto& [name, path, read, nothingRead] = viewerFiles[std::get<0>(GetParam())];
    const Hostile kind = std::get<1>(GetParam());
    testing_support::ScratchDir dir(testing_support::ScratchDir::Enter::yes);
    layHostile(kind, path);
    std::string outcome;
    const std::string fatal = fatalMessageOf([&, read = read] { outcome = read(); });
    EXPECT_LT(peakResidentMiB(), kMostMiBForAHostileFile);
    if (kind != Hostile::randomBytes) {
        EXPECT_EQ(fatal.empty() ? outcome : fatal, nothingRead(kind));
    } else {
        EXPECT_TRUE(fatal.empty() || fatal == "*** readcolor-2.") << fatal;
    }
    for (const Mountain& summit : mountains.mountainTable)
        EXPECT_LE(summit.name.size(), 48u);
}

INSTANTIATE_TEST_SUITE_P(EveryFileEveryKind, HostileViewerFile,
                         testing::Combine(testing::Range(0, int(std::size(viewerFiles))), everyHostileKind),
                         [](const testing::TestParamInfo<HostileViewerFile::ParamType>& info) {
                             return std::string(std::get<0>(viewerFiles[std::get<0>(info.param)])) + "_" +
                                    hostileName(std::get<1>(info.param));
                         });

} // namespace
