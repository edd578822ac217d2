// make-demo-data: writes deterministic synthetic terrain in the four data
// formats the viewer reads, with the sheet-name indexes the map needs.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "coastline.h"
#include "demo_data.h"
#include "terrain.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* usage =
    "usage: make-demo-data [--coast FILE] OUTDIR\n"
    "Writes demo terrain under OUTDIR: GSI50M/, GSI250M/ (with ZUMEI.CSV), SRTM3/, SRTM30/\n"
    "and FGD/ (the GSI base map DEM downloads, 10 m and 5 m).\n"
    "Land and sea follow the coastline FILE; without --coast the program takes\n"
    "JapanCoast.txt from the working directory, else from its own folder, else from\n"
    "the shared files of its installation (" DEMO_SHARED_FROM_PROGRAM " from its folder).\n";

struct Arguments {
    std::optional<fs::path> coast;
    fs::path outDir;
};

std::optional<Arguments> parseArguments(int argc, char** argv)
{
    Arguments arguments;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--coast" && i + 1 < argc)
            arguments.coast = argv[++i];
        else if (!word.empty() && word[0] == '-')
            return std::nullopt;
        else
            positional.push_back(word);
    }
    if (positional.size() != 1)
        return std::nullopt;
    arguments.outDir = positional.front();
    return arguments;
}

fs::path findCoastline()
{
    std::vector<fs::path> candidates{"JapanCoast.txt"};
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        candidates.push_back(self.parent_path() / "JapanCoast.txt");
        candidates.push_back(self.parent_path() / DEMO_SHARED_FROM_PROGRAM / "JapanCoast.txt");
    }
    for (const fs::path& candidate : candidates)
        if (fs::is_regular_file(candidate, error))
            return candidate;
    throw std::runtime_error("no JapanCoast.txt in the working directory, beside the program or among "
                             "its installation's shared files; give one with --coast FILE");
}

} // namespace

int main(int argc, char** argv)
{
    const std::optional<Arguments> arguments = parseArguments(argc, argv);
    if (!arguments) {
        std::fputs(usage, stderr);
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        const fs::path coastPath = arguments->coast ? *arguments->coast : findCoastline();
        const demo::DemoTerrain terrain(demo::readCoastline(coastPath.string()));
        const std::vector<demo::WrittenFile> written = demo::writeDemoData(arguments->outDir, terrain);
        std::uint64_t total = 0;
        for (const demo::WrittenFile& file : written)
            total += file.bytes;
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        std::printf(
            "make-demo-data: %zu files, %.1f MB apparent (the SRTM30 tile is a sparse file), in %s, %.2f s\n",
            written.size(), static_cast<double>(total) / 1e6, arguments->outDir.string().c_str(),
            seconds.count());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make-demo-data: %s\n", error.what());
        return 1;
    }
}
