// Load benchmarks on synthetic data written into a temporary directory. Each
// run is a child process of its own, as each start of the viewer is: the
// figure is the time from the loader's call to the finished grid, after a
// first run has warmed the file cache; the median of the runs is printed.
// The SRTM3 and GSI 10 m children also report their peak resident memory
// (VmHWM); the GSI DEM ones also the processor time of all their threads.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "data/fgd_archive.h"
#include "data/loaders.h"
#include "raster_file.h"
#include "state/grid.h"

using namespace orvex;

namespace {

namespace fs = std::filesystem;

constexpr int runsPerCase = 7;

void appendSample(std::string& bytes, int value)
{
    const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
    bytes += static_cast<char>(bits >> 8);
    bytes += static_cast<char>(bits & 0xff);
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Hills between sea and about 2500 m.
int terrain(double north, double east)
{
    const double h =
        900 + 800 * std::sin(north * 9.1) * std::cos(east * 7.3) + 600 * std::sin(east * 23.0 + north * 3.0);
    return static_cast<int>(h) - 300;
}

// An SRTM3 tile with small voids (line-filled) and a few large ones (left to
// SRTM30) scattered over it.
void writeHgtTile(const fs::path& path, int seed)
{
    std::vector<std::int16_t> samples(1201 * 1201);
    for (int r = 0; r < 1201; ++r)
        for (int c = 0; c < 1201; ++c)
            samples[r * 1201 + c] = static_cast<std::int16_t>(terrain(seed - r / 1200.0, seed + c / 1200.0));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> place(1, 1100);
    auto punch = [&](int height, int width) {
        const int r0 = place(random), c0 = place(random);
        for (int r = r0; r < r0 + height; ++r)
            for (int c = c0; c < c0 + width; ++c)
                samples[r * 1201 + c] = -32768;
    };
    for (int n = 0; n < 3000; ++n)
        punch(1 + n % 3, 1 + n % 5);
    for (int n = 0; n < 6; ++n)
        punch(40 + 10 * n, 60);
    std::string bytes;
    bytes.reserve(samples.size() * 2);
    for (std::int16_t s : samples)
        appendSample(bytes, s);
    writeFile(path, bytes);
}

// An SRTM 1-arc-second tile, 3601 x 3601 samples, with the SRTM3 tiles' voids
// at three times their size.
void writeSrtm1Tile(const fs::path& path)
{
    std::vector<std::int16_t> samples(3601 * 3601);
    for (int r = 0; r < 3601; ++r)
        for (int c = 0; c < 3601; ++c)
            samples[r * 3601 + c] = static_cast<std::int16_t>(terrain(36 - r / 3600.0, 139 + c / 3600.0));
    std::mt19937 random(7);
    std::uniform_int_distribution<int> place(1, 3400);
    for (int n = 0; n < 3000; ++n) {
        const int r0 = place(random), c0 = place(random);
        for (int r = r0; r < r0 + 3 * (1 + n % 3); ++r)
            for (int c = c0; c < c0 + 3 * (1 + n % 5); ++c)
                samples[r * 3601 + c] = -32768;
    }
    std::string bytes;
    bytes.reserve(samples.size() * 2);
    for (std::int16_t s : samples)
        appendSample(bytes, s);
    writeFile(path, bytes);
}

// The rows of an SRTM30 tile that the fill reads; the rest stays a hole in a
// sparse file.
void writeSrtm30Rows(const fs::path& path, int firstRow, int rowCount)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).close();
    fs::resize_file(path, 6000ull * 9600);
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(firstRow) * 9600);
    std::string row;
    for (int r = firstRow; r < firstRow + rowCount; ++r) {
        row.clear();
        for (int c = 0; c < 4800; ++c)
            appendSample(row, terrain(r / 120.0, c / 120.0));
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

std::string meshRecord(int row, int count, int seed)
{
    std::string rowNumber = std::to_string(row);
    std::string text = "533945" + std::string(3 - rowNumber.size(), '0') + rowNumber;
    for (int m = 0; m < count; ++m) {
        // Five digits each, so no field runs into the next.
        text += std::to_string(10000 + std::abs(terrain(seed + row / 200.0, m / 200.0)) * 10 % 29000);
        if (m % 10 == 9)
            text += '\n';
    }
    return text;
}

void writeGsi50Sheet(const fs::path& path, int seed)
{
    std::string text = "533945 synthetic sheet\n";
    for (int k = 0; k < 200; ++k)
        text += meshRecord(k, 200, seed);
    writeFile(path, text);
}

void writeGsi250Cell(const fs::path& path, int seed)
{
    std::string flags(320, '1');
    for (int k = 0; k < 320; k += 37)
        flags[k] = '0';
    std::string text = std::string(224, ' ') + flags + "\n";
    for (int k = 0; k < 320; ++k)
        if (flags[k] != '0')
            text += meshRecord(k, 320, seed);
    writeFile(path, text);
}

// A GSI DEM document of the mesh `code` (PPQQpq, or PPQQpqrs at 5 m), its
// tuples from the terrain with sea below 0 m, starting in the north-west.
std::string fgdDocument(const std::string& code, double south, double west, int cols, int rows, double height,
                        double width)
{
    char corners[160];
    std::snprintf(corners, sizeof corners,
                  "<gml:lowerCorner>%.9f %.9f</gml:lowerCorner><gml:upperCorner>%.9f %.9f</gml:upperCorner>",
                  south, west, south + height, west + width);
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Dataset "
                       "xmlns:gml=\"http://www.opengis.net/gml/3.2\"><DEM><mesh>" +
                       code + "</mesh><type>" + (code.size() == 6 ? "10m" : "5m") +
                       "メッシュ（標高）</type><coverage><gml:boundedBy><gml:Envelope "
                       "srsName=\"fguuid:jgd2011.bl\">" +
                       corners + "</gml:Envelope></gml:boundedBy><gml:gridDomain><gml:Grid><gml:limits>" +
                       "<gml:GridEnvelope><gml:low>0 0</gml:low><gml:high>" + std::to_string(cols - 1) + " " +
                       std::to_string(rows - 1) +
                       "</gml:high></gml:GridEnvelope></gml:limits></gml:Grid></gml:gridDomain><gml:rangeSet>"
                       "<gml:DataBlock><gml:tupleList>\n";
    text.reserve(static_cast<std::size_t>(cols) * rows * 18 + 1024);
    char value[32];
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const double h = terrain(south + height * (rows - r) / rows, west + width * c / cols) +
                             (r * 7 + c * 3) % 100 / 100.0;
            if (h <= 0) {
                text += "海水面,-9999.\n";
                continue;
            }
            text += "地表面,";
            text.append(value,
                        std::to_chars(value, value + sizeof value, h, std::chars_format::fixed, 2).ptr);
            text += '\n';
        }
    }
    text += "</gml:tupleList></gml:DataBlock></gml:rangeSet><gml:coverageFunction><gml:GridFunction>"
            "<gml:sequenceRule order=\"+x-y\">Linear</gml:sequenceRule><gml:startPoint>0 0</gml:startPoint>"
            "</gml:GridFunction></gml:coverageFunction></coverage></DEM></Dataset>\n";
    return text;
}

// A ZIP archive of the members, deflated as the downloads are.
void writeZip(const fs::path& path, const std::vector<std::pair<std::string, std::string>>& members)
{
    fs::create_directories(path.parent_path());
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        std::exit(2);
    for (const auto& [name, bytes] : members) {
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        if (!source || zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0)
            std::exit(2);
    }
    if (zip_close(zip) != 0)
        std::exit(2);
}

// The 10 m archive of sheet PPQQpq; returns the length of its document.
std::size_t writeFgd10Sheet(const fs::path& dir, int pp, int qq, int p, int q)
{
    const std::string cell = std::to_string(pp * 100 + qq), sheet = std::to_string(p * 10 + q);
    const std::string xml =
        fgdDocument(cell + sheet, pp / 1.5 + p / 12.0, 100 + qq + q / 8.0, 1125, 750, 1 / 12.0, 1 / 8.0);
    const std::string stem = "FG-GML-" + cell + "-" + sheet + "-DEM10B";
    writeZip(dir / (stem + ".zip"), {{stem + "-20161001.xml", xml}});
    return xml.size();
}

// The 5 m archive of sheet 533945 with the tertiary meshes of one
// checkerboard colour: half the sheet, the rest left to the 10 m fill.
void writeFgd5Sheet(const fs::path& dir)
{
    std::vector<std::pair<std::string, std::string>> members;
    for (int r = 0; r < 10; ++r)
        for (int s = r % 2; s < 10; s += 2) {
            const std::string code = "533945" + std::to_string(r) + std::to_string(s);
            members.emplace_back("FG-GML-5339-45-" + code.substr(6) + "-DEM5A-20200101.xml",
                                 fgdDocument(code, 53 / 1.5 + 4 / 12.0 + r / 120.0, 139.625 + s / 80.0, 225,
                                             150, 1 / 120.0, 1 / 80.0));
        }
    writeZip(dir / "FG-GML-5339-45-DEM5A.zip", members);
}

struct RunResult {
    double milliseconds = 0;
    double peakMiB = 0;
    double cpuMilliseconds = 0; // user and system time of all threads
};

double cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double peakResidentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

// Runs `load` in a child with its console output discarded.
RunResult runInChild(const std::function<void()>& load)
{
    int channel[2];
    if (pipe(channel) != 0)
        std::exit(2);
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        if (!std::freopen("/dev/null", "w", stdout))
            _exit(3);
        const double cpuStart = cpuMilliseconds();
        const auto start = std::chrono::steady_clock::now();
        load();
        const auto end = std::chrono::steady_clock::now();
        RunResult result{std::chrono::duration<double, std::milli>(end - start).count(), peakResidentMiB(),
                         cpuMilliseconds() - cpuStart};
        std::fflush(stdout);
        const bool sent = write(channel[1], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
        _exit(sent ? 0 : 4);
    }
    close(channel[1]);
    RunResult result;
    const bool received = read(channel[0], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "load_bench: a benchmark run failed\n");
        std::exit(1);
    }
    return result;
}

// The median wall-clock time of a shell command, its output discarded, after
// one warm-up run.
double commandMilliseconds(const std::string& command)
{
    const std::string quiet = command + " >/dev/null 2>&1";
    std::vector<double> runs;
    for (int n = 0; n <= runsPerCase; ++n) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(quiet.c_str()) != 0) {
            std::fprintf(stderr, "load_bench: failed: %s\n", command.c_str());
            std::exit(1);
        }
        if (n > 0)
            runs.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

// The median of the runs after one warm-up run.
RunResult measure(const std::function<void()>& load)
{
    runInChild(load);
    std::vector<RunResult> runs;
    for (int n = 0; n < runsPerCase; ++n)
        runs.push_back(runInChild(load));
    std::sort(runs.begin(), runs.end(),
              [](const RunResult& a, const RunResult& b) { return a.milliseconds < b.milliseconds; });
    RunResult median = runs[runs.size() / 2];
    for (const RunResult& run : runs)
        median.peakMiB = std::max(median.peakMiB, run.peakMiB);
    return median;
}

} // namespace

int main()
{
    std::string pattern = (fs::temp_directory_path() / "orvex-load-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("load_bench: mkdtemp");
        return 1;
    }
    const fs::path dir = pattern;

    // SRTM3 block rows 108..110 and columns 638..640 (36.0 to 34.5 N, 139.0 to
    // 140.5 E) lie in four tiles, their SRTM30 patches in two.
    writeHgtTile(dir / "srtm3" / "N35E139.hgt", 1);
    writeHgtTile(dir / "srtm3" / "N35E140.hgt", 2);
    writeHgtTile(dir / "srtm3" / "N34E139.hgt", 3);
    writeHgtTile(dir / "srtm3" / "N34E140.hgt", 4);
    writeSrtm30Rows(dir / "srtm30" / "e100n40.dem", 480, 180);
    writeSrtm30Rows(dir / "srtm30" / "e140n40.dem", 480, 180);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            const int p = 4 - row;
            const int q = 5 + col;
            const int cell = q < 8 ? 5339 : 5340;
            const std::string code = std::to_string(cell) + std::to_string(p) + std::to_string(q % 8);
            writeGsi50Sheet(dir / "gsi50" / "DATA" / std::to_string(cell) / (code + ".MEM"), row * 4 + col);
        }
    for (int cell : {5339, 5340, 5239, 5240})
        writeGsi250Cell(dir / "gsi250" / "DATA" / "250M" / (std::to_string(cell) + ".SEM"), cell);

    const std::string srtm3Dir = (dir / "srtm3").string();
    const std::string srtm30Dir = (dir / "srtm30").string();
    const RunResult srtm3 = measure([&] { readsrtm3(srtm3Dir, 108, 638, 110, 640, 2, srtm30Dir); });
    // The same 3 x 3 blocks (1801 x 1801 samples from 36 N, 139 E) exported
    // as a GeoTIFF, and cut by gdal_translate from a VRT of the four tiles
    // into a float32 GeoTIFF with the same creation options.
    const fs::path exportDir = dir / "export";
    fs::create_directories(exportDir);
    const std::string vrt = (exportDir / "tiles.vrt").string();
    const std::string inExportDir = "cd '" + exportDir.string() + "' && ";
    if (std::system((inExportDir + "gdalbuildvrt -q tiles.vrt '" + srtm3Dir + "'/*.hgt").c_str()) != 0) {
        std::fprintf(stderr, "load_bench: gdalbuildvrt (package gdal-bin) failed\n");
        return 1;
    }
    const double exportMs = commandMilliseconds(inExportDir + "'" + ORVEX_EXPORT_PROGRAM +
                                                "' ours.tif -srtm3 '" + srtm3Dir + "' 108 638 110 640 0 .");
    std::string sameOptions;
    for (const char* option : geoTiffOptions)
        sameOptions += std::string(" -co ") + option;
    const std::string translate =
        inExportDir + "gdal_translate -q -of GTiff -ot Float32 -srcwin 0 0 1801 1801";
    const double translateMs = commandMilliseconds(translate + sameOptions + " tiles.vrt gdal.tif");
    // GDAL's tool with only what makes the format (tiled, deflate), the rest
    // its defaults.
    const double translateDefaultsMs =
        commandMilliseconds(translate + " -co TILED=YES -co COMPRESS=DEFLATE tiles.vrt gdal-defaults.tif");
    const RunResult gsi50 = measure([&] { readgsi50((dir / "gsi50").string(), 533945, 4, 4); });
    const RunResult gsi250 = measure([&] { readgsi250((dir / "gsi250").string(), 5339, 2, 2); });
    // Written only now: what making them leaves in this process would count
    // in the peak memory of the children measured above.
    // Then GSI 10 m sheets 533945, 533946, 533935 and 533936, and half the
    // tertiary meshes of 533945 at 5 m.
    std::size_t fgd10XmlBytes = 0;
    for (const auto& [p, q] : {std::pair(4, 5), std::pair(4, 6), std::pair(3, 5), std::pair(3, 6)})
        fgd10XmlBytes += writeFgd10Sheet(dir / "fgd", 53, 39, p, q);
    writeFgd5Sheet(dir / "fgd");
    const std::string fgdDir = (dir / "fgd").string();
    const RunResult fgd10 = measure([&] { readfgd10(fgdDir, 533945, 2, 2); });
    const RunResult fgd5 = measure([&] { readfgd5(fgdDir, 533945, 1, 1); });
    writeSrtm1Tile(dir / "srtm1" / "N35E139.hgt");
    const std::string srtm1Tile = (dir / "srtm1" / "N35E139.hgt").string();
    const RunResult srtm1 = measure([&] { readgdal(srtm1Tile, {36, 139, 35, 140}); });
    // The four documents alone, from the ZIPs through the XML parser to the
    // points: on one thread, and on two as the loader reads them.
    const auto parseOn = [&](unsigned threads) {
        std::vector<std::string> problems;
        const auto files = orvex::findFgdFiles(
            fgdDir,
            [](const orvex::FgdName& name) { return name.resolution == orvex::FgdResolution::metres10; },
            problems);
        std::vector<std::thread> workers;
        for (unsigned t = 0; t < threads; ++t) {
            workers.emplace_back([&files, t, threads] {
                orvex::FgdArchiveReader archives;
                std::string error;
                for (std::size_t k = t; k < files.size(); k += threads)
                    if (!orvex::readFgdFile(archives, files[k], error))
                        std::_Exit(5);
            });
        }
        for (std::thread& worker : workers)
            worker.join();
    };
    const RunResult parseOne = measure([&] { parseOn(1); });
    const RunResult parseTwo = measure([&] { parseOn(2); });

    const double gridMiB = 1801.0 * 1801.0 * sizeof(GridPoint) / (1024.0 * 1024.0);
    std::printf("BENCH srtm3_3x3_mode2_load %.1f ms\n", srtm3.milliseconds);
    std::printf("BENCH gsi50_4x4_load %.1f ms\n", gsi50.milliseconds);
    std::printf("BENCH gsi250_2x2_load %.1f ms\n", gsi250.milliseconds);
    std::printf("BENCH srtm3_3x3_peak_memory %.1f MiB\n", srtm3.peakMiB);
    std::printf("BENCH srtm3_3x3_peak_over_grid %.1f MiB\n", srtm3.peakMiB - gridMiB);
    const double fgd10GridMiB = 1500.0 * 2250.0 * sizeof(GridPoint) / (1024.0 * 1024.0);
    std::printf("BENCH fgd10_2x2_load %.1f ms\n", fgd10.milliseconds);
    std::printf("BENCH fgd10_parse_rate %.0f MB/s\n", fgd10XmlBytes / 1e6 / (parseTwo.milliseconds / 1e3));
    std::printf("BENCH fgd10_parse_rate_one_thread %.0f MB/s\n",
                fgd10XmlBytes / 1e6 / (parseOne.milliseconds / 1e3));
    std::printf("BENCH fgd10_2x2_load_cpu %.1f ms\n", fgd10.cpuMilliseconds);
    std::printf("BENCH fgd5_1x1_load %.1f ms\n", fgd5.milliseconds);
    std::printf("BENCH fgd5_1x1_load_cpu %.1f ms\n", fgd5.cpuMilliseconds);
    std::printf("BENCH fgd10_2x2_peak_memory %.1f MiB\n", fgd10.peakMiB);
    std::printf("BENCH fgd10_2x2_peak_over_grid %.1f MiB\n", fgd10.peakMiB - fgd10GridMiB);
    std::printf("BENCH gdal_srtm1_1x1_load %.1f ms\n", srtm1.milliseconds);
    std::printf("BENCH export_srtm3_3x3 %.1f ms\n", exportMs);
    // GDAL's tool as a user runs it for the export's format (a tiled, deflated
    // float32 GeoTIFF); then given every creation option of the export.
    std::printf("BENCH gdal_translate_srtm3_3x3 %.1f ms\n", translateDefaultsMs);
    std::printf("BENCH export_to_gdal_translate %.2f x\n", exportMs / translateDefaultsMs);
    std::printf("BENCH gdal_translate_same_options_srtm3_3x3 %.1f ms\n", translateMs);
    std::printf("BENCH export_to_gdal_translate_same_options %.2f x\n", exportMs / translateMs);

    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return 0;
}
