#pragma once
// Runs a test inside a fresh, empty working directory, for the readers that
// take their files from the working directory.

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <unistd.h>

class ScratchWorkingDir {
public:
    ScratchWorkingDir() : previous_(std::filesystem::current_path())
    {
        std::string pattern = "/tmp/orvex-data-test-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    ~ScratchWorkingDir()
    {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchWorkingDir(const ScratchWorkingDir&) = delete;
    ScratchWorkingDir& operator=(const ScratchWorkingDir&) = delete;

    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream stream(path_ / name, std::ios::binary);
        stream << bytes;
        if (!stream)
            throw std::runtime_error("cannot write " + name);
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};
