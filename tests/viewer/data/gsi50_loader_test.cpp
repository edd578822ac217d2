#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>

#include "data/grid.h"
#include "data/loaders.h"
#include "loader_test_support.h"

namespace {

const double earthRadius = 40000000.0 / (2 * M_PI);

std::string sheetPath(const TempDir& dir, int code)
{
    return dir.path() + "/DATA/" + std::to_string(code / 100) + "/" + std::to_string(code) + ".MEM";
}

// Every sheet of a test gets its own values, so a sheet in the wrong place shows.
int tenthsOf(int sheet, int row, int col) { return sheet * 25000 + row * 100 + col; }
TenthsAt sheetValues(int sheet)
{
    return [sheet](int row, int col) { return tenthsOf(sheet, row, col); };
}
float metresOf(int sheet, int row, int col) { return static_cast<float>(tenthsOf(sheet, row, col)) / 10.0f; }

float elevationAt(int row, int col) { return grid.gridRowTable[row][col].elevation; }

TEST(Gsi50Loader, OneSheetFillsItsGridAndArea)
{
    TempDir dir;
    writeFile(sheetPath(dir, 533945), gsi50SheetText(sheetValues(1)));
    const std::string out = captureStdout([&] { readgsi50(dir.path(), 533945, 1, 1); });

    EXPECT_EQ(out, "Reading " + dir.path() + "/DATA/5339/533945.MEM ...\n");
    ASSERT_EQ(grid.gridRows, 200);
    ASSERT_EQ(grid.gridCols, 200);
    EXPECT_EQ(elevationAt(0, 0), metresOf(1, 0, 0));
    EXPECT_EQ(elevationAt(0, 199), metresOf(1, 0, 199));
    EXPECT_EQ(elevationAt(199, 0), metresOf(1, 199, 0));
    EXPECT_EQ(elevationAt(123, 45), metresOf(1, 123, 45));
    EXPECT_EQ(grid.gridRowTable[57][3].sampleState, 0);

    EXPECT_DOUBLE_EQ(grid.areaNorth, 53 * 0.6666666666666666 + 5.0 / 12);
    EXPECT_DOUBLE_EQ(grid.areaSouth, grid.areaNorth - 1.0 / 12);
    EXPECT_DOUBLE_EQ(grid.areaWest, 139.625);
    EXPECT_DOUBLE_EQ(grid.areaEast, 139.75);
    EXPECT_DOUBLE_EQ(grid.mountainShiftY, 700 - (grid.areaNorth + grid.areaSouth) * 5);
    EXPECT_EQ(grid.mountainShiftX, 270);
    EXPECT_EQ(grid.labelLift, 500);
    // Finished: placed about the centre and lowered for the curvature.
    const GridPoint& corner = grid.gridRowTable[0][0];
    EXPECT_NEAR(corner.y, -99.5 * 46.2962962962963, 1e-3);
    const double drop = (double(corner.x) * corner.x + double(corner.y) * corner.y) / (2 * earthRadius);
    EXPECT_NEAR(corner.z, corner.elevation - drop, 1e-3);
}

TEST(Gsi50Loader, SheetWalksCrossPrimaryCellsEastAndSouth)
{
    TempDir dir;
    writeFile(sheetPath(dir, 533947), gsi50SheetText(sheetValues(1)));
    writeFile(sheetPath(dir, 534040), gsi50SheetText(sheetValues(2)));
    std::string out = captureStdout([&] { readgsi50(dir.path(), 533947, 1, 2); });
    EXPECT_EQ(out, "Reading " + dir.path() + "/DATA/5339/533947.MEM ...\n"
                   "Reading " + dir.path() + "/DATA/5340/534040.MEM ...\n");
    ASSERT_EQ(grid.gridCols, 400);
    EXPECT_EQ(elevationAt(10, 199), metresOf(1, 10, 199));
    EXPECT_EQ(elevationAt(10, 200), metresOf(2, 10, 0));
    EXPECT_DOUBLE_EQ(grid.areaEast, 139 + 7 / 8.0 + 2 / 8.0);

    // South from p = 0: the first sheet is missing and keeps -999, lifted to sea level.
    writeFile(sheetPath(dir, 523975), gsi50SheetText(sheetValues(3)));
    out = captureStdout([&] { readgsi50(dir.path(), 533905, 2, 1); });
    EXPECT_EQ(out, "*** GSI50M : " + dir.path() + "/DATA/5339/533905.MEM not found.\n"
                   "Reading " + dir.path() + "/DATA/5239/523975.MEM ...\n");
    ASSERT_EQ(grid.gridRows, 400);
    EXPECT_EQ(elevationAt(199, 17), -999.0f);
    EXPECT_EQ(elevationAt(200, 17), metresOf(3, 0, 17));
    const GridPoint& missing = grid.gridRowTable[0][0];
    EXPECT_NEAR(missing.z, -(double(missing.x) * missing.x + double(missing.y) * missing.y) / (2 * earthRadius),
                1e-3);
}

TEST(Gsi50Loader, ReadsRowsNorthToSouthAndSheetsWestToEast)
{
    TempDir dir;
    const std::string out = captureStdout([&] {
        writeFile(sheetPath(dir, 533936), gsi50SheetText(sheetValues(0)));
        readgsi50(dir.path(), 533945, 2, 2);
    });
    const std::string data = dir.path() + "/DATA/5339/";
    EXPECT_EQ(out, "*** GSI50M : " + data + "533945.MEM not found.\n"
                   "*** GSI50M : " + data + "533946.MEM not found.\n"
                   "*** GSI50M : " + data + "533935.MEM not found.\n"
                   "Reading " + data + "533936.MEM ...\n");
    EXPECT_EQ(elevationAt(200, 200), metresOf(0, 0, 0));
    EXPECT_EQ(elevationAt(199, 399), -999.0f);
}

TEST(Gsi50Loader, CellNumbersArePaddedToFourCharacters)
{
    TempDir dir;
    writeFile(dir.path() + "/DATA/ 523/ 52300.MEM", gsi50SheetText(sheetValues(1)));
    const std::string out = captureStdout([&] { readgsi50(dir.path(), 52300, 1, 1); });
    EXPECT_EQ(out, "Reading " + dir.path() + "/DATA/ 523/ 52300.MEM ...\n");
    EXPECT_EQ(elevationAt(5, 5), metresOf(1, 5, 5));
}

TEST(Gsi50Loader, ValuesAreTenthsAndSeaIsLiftedBelowMinus100)
{
    TempDir dir;
    const TenthsAt values = [](int row, int col) {
        if (row != 0)
            return 100;
        switch (col) {
        case 0: return -9999;
        case 1: return -1500;
        case 2: return -1000;
        case 3: return 37760;
        default: return 0;
        }
    };
    writeFile(sheetPath(dir, 533945), gsi50SheetText(values));
    captureStdout([&] { readgsi50(dir.path(), 533945, 1, 1); });
    const GridPoint* row = grid.gridRowTable[0];
    auto drop = [](const GridPoint& p) { return (double(p.x) * p.x + double(p.y) * p.y) / (2 * earthRadius); };
    EXPECT_FLOAT_EQ(row[0].elevation, -999.9f);
    EXPECT_NEAR(row[0].z, -999.9 + 999 - drop(row[0]), 1e-3);
    EXPECT_NEAR(row[1].z, -150.0 + 999 - drop(row[1]), 1e-3);
    EXPECT_NEAR(row[2].z, -100.0 - drop(row[2]), 1e-3);  // not below -100: not lifted
    EXPECT_EQ(row[3].elevation, 3776.0f);
}

TEST(Gsi50Loader, FieldsAreFoundWhateverTheLineBreaksAndHeaderLength)
{
    TempDir dir;
    // One long line of records after a header far longer than any line buffer.
    std::string packed = std::string(5000, '#') + "\n";
    for (int k = 0; k < 200; ++k)
        packed += gsiRecord(k, 200, sheetValues(1), "");
    writeFile(sheetPath(dir, 533945), packed);
    // Every field on its own line, with CR LF line ends.
    std::string spread = "header\r\n";
    for (int k = 0; k < 200; ++k) {
        spread += "533945\r\n" + std::to_string(k) + "\r\n";
        for (int m = 0; m < 200; ++m)
            spread += std::to_string(tenthsOf(2, k, m)) + "\r\n";
    }
    writeFile(sheetPath(dir, 533946), spread);

    captureStdout([&] { readgsi50(dir.path(), 533945, 1, 2); });
    for (int k : {0, 1, 150, 199}) {
        EXPECT_EQ(elevationAt(k, 0), metresOf(1, k, 0));
        EXPECT_EQ(elevationAt(k, 199), metresOf(1, k, 199));
        EXPECT_EQ(elevationAt(k, 200), metresOf(2, k, 0));
        EXPECT_EQ(elevationAt(k, 399), metresOf(2, k, 199));
    }
}

TEST(Gsi50Loader, ASheetThatEndsEarlyOrBreaksKeepsTheInitialValueBeyond)
{
    TempDir dir;
    const std::string whole = gsi50SheetText(sheetValues(1));
    // Cut inside record 100, just after its value 37.
    const std::string record100 = gsiRecord(100, 200, sheetValues(1));
    const std::size_t cut = whole.find(record100) + 9 + 38 * 5 + 3;  // 38 values and the line end after 30
    writeFile(sheetPath(dir, 533945), whole.substr(0, cut));
    // A field that does not parse at record 50, value 10.
    std::string broken = whole;
    const std::size_t record50 = broken.find(gsiRecord(50, 200, sheetValues(1)));
    broken.replace(record50 + 9 + 10 * 5 + 1, 5, "  abc");  // after value 9 and its line end
    writeFile(sheetPath(dir, 533946), broken);

    captureStdout([&] { readgsi50(dir.path(), 533945, 1, 2); });
    EXPECT_EQ(elevationAt(99, 199), metresOf(1, 99, 199));
    EXPECT_EQ(elevationAt(100, 37), metresOf(1, 100, 37));
    EXPECT_EQ(elevationAt(100, 38), -999.0f);
    EXPECT_EQ(elevationAt(199, 199), -999.0f);

    EXPECT_EQ(elevationAt(50, 200 + 9), metresOf(1, 50, 9));
    EXPECT_EQ(elevationAt(50, 200 + 10), -999.0f);
    EXPECT_EQ(elevationAt(51, 200), -999.0f);
}

TEST(Gsi50Loader, FindsLowerCaseCopiesOfTheDisc)
{
    TempDir dir;
    writeFile(dir.path() + "/data/5339/533945.mem", gsi50SheetText(sheetValues(1)));
    const std::string out = captureStdout([&] { readgsi50(dir.path(), 533945, 1, 1); });
    EXPECT_EQ(out, "Reading " + dir.path() + "/data/5339/533945.mem ...\n");
    EXPECT_EQ(elevationAt(1, 2), metresOf(1, 1, 2));
}

// Published sheets: one record per line in fixed columns, blank-padded
// numbers touching five-digit neighbours.
std::string columnSheetText(const TenthsAt& tenths, bool breakOneRecord)
{
    std::string text = "533945 published layout header\r\n";
    for (int k = 0; k < 200; ++k) {
        char head[16];
        std::snprintf(head, sizeof head, "%6d%3d", 533945, k + 1);
        std::string line = head;
        for (int m = 0; m < 200; ++m) {
            char value[16];
            std::snprintf(value, sizeof value, "%5d", tenths(k, m));
            line += value;
        }
        if (breakOneRecord && k == 7)
            line[9 + 5 * 3 + 2] = 'x';
        text += line + "\r\n";
    }
    return text;
}

TEST(Gsi50Loader, RecordsInFixedColumnsAreReadByColumn)
{
    // 999.5 m next to 1000.2 m: " 9995" "10002" would run together as fields.
    const TenthsAt across1000m = [](int row, int col) { return col % 2 ? 10002 + row : 9995 - row; };
    TempDir dir;
    writeFile(sheetPath(dir, 533945), columnSheetText(across1000m, false));
    captureStdout([&] { readgsi50(dir.path(), 533945, 1, 1); });
    EXPECT_EQ(elevationAt(0, 0), 999.5f);
    EXPECT_EQ(elevationAt(0, 1), 1000.2f);
    EXPECT_EQ(elevationAt(199, 198), 979.6f);
    EXPECT_EQ(elevationAt(199, 199), 1020.1f);

    // A record line that is not clean columns is read field by field, as any
    // other layout, and the broken field stops the file.
    writeFile(sheetPath(dir, 533945), columnSheetText(across1000m, true));
    captureStdout([&] { readgsi50(dir.path(), 533945, 1, 1); });
    EXPECT_EQ(elevationAt(6, 5), 1000.8f);
    EXPECT_EQ(elevationAt(8, 0), -999.0f);
    EXPECT_EQ(elevationAt(199, 199), -999.0f);
}

TEST(Gsi50LoaderDeathTest, BadArgumentsAndMissingSheetsEndTheRun)
{
    auto run = [](int a, int b, int c) {
        std::fclose(stdin);
        readgsi50("/nonexistent-orvex-dir", a, b, c);
    };
    EXPECT_EXIT(run(533985, 1, 1), testing::ExitedWithCode(1), "^\\*\\*\\* ERROR gsi50 : argument\\.\n$");
    EXPECT_EXIT(run(533949, 1, 1), testing::ExitedWithCode(1), "^\\*\\*\\* ERROR gsi50 : argument\\.\n$");
    EXPECT_EXIT(run(-533945, 1, 1), testing::ExitedWithCode(1), "^\\*\\*\\* ERROR gsi50 : argument\\.\n$");
    EXPECT_EXIT(run(533945, 1, 1), testing::ExitedWithCode(1), "^\\*\\*\\* GSI50M : No DEM files\\.\n$");
    // No sheets at all ends before anything is allocated, however many columns.
    EXPECT_EXIT(run(533945, 0, INT_MAX), testing::ExitedWithCode(1), "^\\*\\*\\* GSI50M : No DEM files\\.\n$");
    EXPECT_EXIT(run(533945, -3, 2), testing::ExitedWithCode(1), "^\\*\\*\\* GSI50M : No DEM files\\.\n$");
    EXPECT_EXIT(run(533945, INT_MAX, INT_MAX), testing::ExitedWithCode(1), "^\\*\\*\\* .*too large");
}

}  // namespace
