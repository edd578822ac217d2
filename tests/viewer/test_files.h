#pragma once
// Scratch directories, files and captured output for the viewer's and the
// export tool's tests.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>
#include <string>

#include "state/fatal_error.h"

using namespace orvex;

// A fresh directory under /tmp, removed with everything in it at the end;
// the working directory while it lives if `enter` is set.
class ScratchDir {
  public:
    explicit ScratchDir(bool enter = false) : previous_(enter ? std::filesystem::current_path() : "")
    {
        std::string pattern = "/tmp/orvex-test-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        if (enter)
            std::filesystem::current_path(path_);
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        if (!previous_.empty())
            std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::filesystem::path previous_;
    std::string path_;
};

struct ScratchWorkingDir : ScratchDir {
    ScratchWorkingDir() : ScratchDir(true) {}
};

// Writes `bytes` to `path`, creating the folders on the way.
inline void writeFile(const std::string& path, const std::string& bytes)
{
    if (const auto folder = std::filesystem::path(path).parent_path(); !folder.empty())
        std::filesystem::create_directories(folder);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot write " + path);
}

inline std::string fileText(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// What `action` writes to standard output.
inline std::string captureStdout(const std::function<void()>& action)
{
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    action();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// The message of the fatal error that `action` ended with, its standard
// output swallowed; empty when it returned.
inline std::string fatalMessageOf(const std::function<void()>& action)
{
    struct FatalEnding {
        std::string message;
    };
    setFatalErrorHandler([](const std::string& message) { throw FatalEnding{message}; });
    std::string message;
    captureStdout([&] {
        try {
            action();
        } catch (const FatalEnding& fatal) {
            message = fatal.message;
        }
    });
    setFatalErrorHandler(nullptr);
    return message;
}
