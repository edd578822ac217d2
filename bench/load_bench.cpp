// Load benchmarks on synthetic data written into a temporary directory. Each
// run is a child process of its own, as each start of the viewer is: the
// figure is the time from the loader's call to the finished grid, after a
// first run has warmed the file cache; the median of the runs is printed.
// The SRTM3 child also reports its peak resident memory (VmHWM).
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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
#include <vector>

#include "data/loaders.h"
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

struct RunResult {
    double milliseconds = 0;
    double peakMiB = 0;
};

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
        const auto start = std::chrono::steady_clock::now();
        load();
        const auto end = std::chrono::steady_clock::now();
        RunResult result{std::chrono::duration<double, std::milli>(end - start).count(), peakResidentMiB()};
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
    const RunResult gsi50 = measure([&] { readgsi50((dir / "gsi50").string(), 533945, 4, 4); });
    const RunResult gsi250 = measure([&] { readgsi250((dir / "gsi250").string(), 5339, 2, 2); });

    const double gridMiB = 1801.0 * 1801.0 * sizeof(GridPoint) / (1024.0 * 1024.0);
    std::printf("BENCH srtm3_3x3_mode2_load %.1f ms\n", srtm3.milliseconds);
    std::printf("BENCH gsi50_4x4_load %.1f ms\n", gsi50.milliseconds);
    std::printf("BENCH gsi250_2x2_load %.1f ms\n", gsi250.milliseconds);
    std::printf("BENCH srtm3_3x3_peak_memory %.1f MiB\n", srtm3.peakMiB);
    std::printf("BENCH srtm3_3x3_peak_over_grid %.1f MiB\n", srtm3.peakMiB - gridMiB);

    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return 0;
}
