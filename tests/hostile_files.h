#pragma once
// Files no reader should trust, laid out at a path where a reader expects
// its file, and the memory a test process has needed.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

enum class Hostile { directory, empty, randomBytes, sparse2GB };

inline const char* hostileName(Hostile kind)
{
    return std::array{"Directory", "Empty", "RandomBytes", "Sparse2GB"}[static_cast<int>(kind)];
}

inline const auto everyHostileKind =
    testing::Values(Hostile::directory, Hostile::empty, Hostile::randomBytes, Hostile::sparse2GB);

inline void layHostile(Hostile kind, const std::string& path)
{
    namespace fs = std::filesystem;
    if (const fs::path folder = fs::path(path).parent_path(); !folder.empty())
        fs::create_directories(folder);
    if (kind == Hostile::directory) {
        fs::create_directory(path);
        return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (kind == Hostile::randomBytes) {
        std::mt19937 random(20261206);
        std::string bytes(1 << 20, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random() & 0xff);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
    if (kind == Hostile::sparse2GB && ::truncate(path.c_str(), std::int64_t{2} << 30) != 0)
        throw std::runtime_error("cannot extend " + path);
}

// The most memory this process has held at once, in MiB.
inline long peakResidentMiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Reading a hostile file may cost this much memory at most, whatever its size.
inline constexpr long kMostMiBForAHostileFile = 400;
