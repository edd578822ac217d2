// Every file the viewer reads, replaced by a directory, an empty file, random
// bytes or a 2 GiB file of zeros: no crash, no fatal error the file cannot
// explain, and never more memory than a real file would need.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "../../hostile_files.h"
#include "../test_files.h"
#include "data/colour_file.h"
#include "data/loaders.h"
#include "data/mountain_file.h"
#include "data/view_state_file.h"
#include "state/colour_table.h"
#include "state/grid.h"
#include "state/mountain_table.h"
#include "state/view_state.h"

namespace {

// How a grid came out: its size, and the smallest and largest elevations,
// with the count of sample states other than valid.
struct GridSummary {
    int rows, cols;
    float lowest, highest;
    long invalid;
    bool operator==(const GridSummary&) const = default;
};
std::ostream& operator<<(std::ostream& out, const GridSummary& s)
{
    return out << s.rows << "x" << s.cols << " from " << s.lowest << " to " << s.highest << ", " << s.invalid
               << " invalid";
}

GridSummary summary()
{
    GridSummary s{grid.gridRows, grid.gridCols, INFINITY, -INFINITY, 0};
    for (int r = 0; r < grid.gridRows; ++r) {
        for (int c = 0; c < grid.gridCols; ++c) {
            const GridPoint& point = grid.gridRowTable[r][c];
            EXPECT_TRUE(std::isfinite(point.z)) << r << ", " << c;
            s.lowest = std::min(s.lowest, point.elevation);
            s.highest = std::max(s.highest, point.elevation);
            s.invalid += point.sampleState != 0;
        }
    }
    return s;
}

struct ViewerFile {
    const char* name;
    const char* path; // where the reader looks, in the working directory
    std::function<void()> read;
    // Checks what came out of a file that held nothing usable (a directory,
    // no bytes or only zeros); `kind` tells which.
    std::function<void(Hostile kind, const std::string& fatal)> expectNothingRead;
};

void expectUnreadSheet(Hostile kind, const std::string& fatal, int side)
{
    if (kind == Hostile::directory) {
        EXPECT_EQ(fatal, side == 200 ? "*** GSI50M : No DEM files." : "*** GSI250M : No DEM files.");
        return;
    }
    EXPECT_EQ(fatal, "");
    EXPECT_EQ(summary(), (GridSummary{side, side, -999.0f, -999.0f, 0}));
}

const ViewerFile viewerFiles[] = {
    {"Gsi50Sheet", "DATA/5339/533945.MEM", [] { readgsi50(".", 533945, 1, 1); },
     [](Hostile kind, const std::string& fatal) { expectUnreadSheet(kind, fatal, 200); }},
    {"Gsi250Cell", "DATA/250M/5339.SEM", [] { readgsi250(".", 5339, 1, 1); },
     [](Hostile kind, const std::string& fatal) { expectUnreadSheet(kind, fatal, 320); }},
    {"Srtm3Tile", "n35e139.hgt", [] { readsrtm3(".", 108, 638, 108, 638, 2, "."); },
     [](Hostile kind, const std::string& fatal) {
         EXPECT_EQ(fatal, "");
         // Zeros are valid samples of sea; no samples leave every point unread.
         EXPECT_EQ(summary(), kind == Hostile::sparse2GB ? (GridSummary{601, 601, -9999.0f, -9999.0f, 0})
                                                         : (GridSummary{601, 601, 0.0f, 0.0f, 601 * 601}));
     }},
    {"Srtm30Tile", "e100n40.dem", [] { readsrtm30(".", 10, 56, 10, 56); },
     [](Hostile, const std::string& fatal) {
         EXPECT_EQ(fatal, "");
         EXPECT_EQ(summary(), (GridSummary{600, 600, 0.0f, 0.0f, 0}));
     }},
    {"FgdDocument", "FG-GML-5339-45-DEM10B-20161001.xml", [] { readfgd10(".", 533945, 1, 1); },
     [](Hostile, const std::string& fatal) { EXPECT_EQ(fatal, "*** FGD10M : No DEM files."); }},
    {"FgdArchive", "FG-GML-5339-45-DEM10B.zip", [] { readfgd10(".", 533945, 1, 1); },
     [](Hostile, const std::string& fatal) { EXPECT_EQ(fatal, "*** FGD10M : No DEM files."); }},
    {"ColourFile", "orvex.col", [] { readcolor(); },
     [](Hostile kind, const std::string& fatal) {
         // A directory is no colour file; the viewer cannot go on without one.
         EXPECT_EQ(fatal, kind == Hostile::directory ? "*** readcolor-1." : "");
         EXPECT_EQ(colours.colourCount, 0);
     }},
    {"SummitList", "MtJapan.txt", [] { readmountain(); },
     [](Hostile, const std::string& fatal) {
         EXPECT_EQ(fatal, "");
         EXPECT_EQ(mountains.mountainCount, 0);
     }},
    {"ViewStateFile", "orvex.env",
     [] {
         view = ViewState{};
         loadViewState();
     },
     [](Hostile, const std::string& fatal) {
         EXPECT_EQ(fatal, "");
         EXPECT_EQ(std::tuple(view.windowWidth, view.windowHeight, view.brightness, view.nameMode),
                   std::tuple(700, 550, 1.0, 0));
     }},
};

class HostileViewerFile : public testing::TestWithParam<std::tuple<int, Hostile>> {};

TEST_P(HostileViewerFile, IsReadSafelyInBoundedMemory)
{
    const ViewerFile& file = viewerFiles[std::get<0>(GetParam())];
    const Hostile kind = std::get<1>(GetParam());
    ScratchWorkingDir dir;
    layHostile(kind, file.path);
    const std::string fatal = fatalMessageOf(file.read);
    EXPECT_LT(peakResidentMiB(), kMostMiBForAHostileFile);
    if (kind != Hostile::randomBytes || std::string_view(file.name).starts_with("Fgd")) {
        file.expectNothingRead(kind, fatal);
    } else {
        EXPECT_TRUE(fatal.empty() || fatal == "*** readcolor-2.") << fatal;
        for (const Mountain& summit : mountains.mountainTable)
            EXPECT_LE(summit.name.size(), 48u);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFileAndKind, HostileViewerFile,
                         testing::Combine(testing::Range(0, static_cast<int>(std::size(viewerFiles))),
                                          everyHostileKind),
                         [](const testing::TestParamInfo<HostileViewerFile::ParamType>& info) {
                             return std::string(viewerFiles[std::get<0>(info.param)].name) + "_" +
                                    hostileName(std::get<1>(info.param));
                         });

TEST(HostileViewerFile, SummitListOfAMillionLinesIsReadWhole)
{
    ScratchWorkingDir dir;
    {
        std::ofstream out("MtJapan.txt", std::ios::binary);
        for (int n = 0; n < 1000000; ++n)
            out << "35.215432 138.433100 " << n % 4000 << ".5 " << n % 2 << " Summit" << n << "\n";
    }
    grid.areaSouth = 35;
    grid.areaNorth = 36;
    grid.areaWest = 138;
    grid.areaEast = 139;
    readmountain();
    ASSERT_EQ(mountains.mountainCount, 1000000);
    const Mountain& last = mountains.mountainTable.back();
    EXPECT_EQ(std::tuple(last.name, last.height, last.kind, last.shown),
              std::tuple(std::string(" Summit999999"), 3999, 1, std::int8_t{1}));
}

} // namespace
