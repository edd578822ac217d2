#include "fuzz_target.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string_view>
#include <vector>

namespace {

std::filesystem::path& scratchDirectory()
{
    static std::filesystem::path path;
    return path;
}

void removeScratchDirectory()
{
    std::error_code ignored;
    std::filesystem::current_path("/", ignored);
    std::filesystem::remove_all(scratchDirectory(), ignored);
}

// libFuzzer's flags whose value is a path.
constexpr std::string_view pathFlags[] = {"-artifact_prefix=",    "-exact_artifact_path=", "-dict=",
                                          "-merge_control_file=", "-features_dir=",        "-stop_file="};

std::string absolute(std::string_view path)
{
    return std::filesystem::absolute(std::string(path)).string();
}

// The arguments with every path made absolute, and an artifact prefix of
// the current directory (libFuzzer's own default) where none is given.
void makePathsAbsolute(int* argc, char*** argv)
{
    static std::vector<std::string> words;
    static std::vector<char*> pointers;
    bool artifactPrefix = false;
    for (int n = 0; n < *argc; ++n) {
        std::string_view word = (*argv)[n];
        std::string rewritten(word);
        if (n > 0 && !word.empty() && word[0] != '-')
            rewritten = absolute(word);
        for (const std::string_view flag : pathFlags) {
            if (word.substr(0, flag.size()) == flag && word.size() > flag.size()) {
                rewritten = std::string(flag) + absolute(word.substr(flag.size()));
                if (word.back() == '/' && rewritten.back() != '/')
                    rewritten += '/';
                artifactPrefix |= flag == pathFlags[0];
            }
        }
        words.push_back(rewritten);
    }
    if (!artifactPrefix)
        words.push_back("-artifact_prefix=" + std::filesystem::current_path().string() + "/");
    for (std::string& word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    *argc = static_cast<int>(words.size());
    *argv = pointers.data();
}

} // namespace

void enterScratchDirectory(int* argc, char*** argv)
{
    makePathsAbsolute(argc, argv);
    std::string pattern = (std::filesystem::temp_directory_path() / "orvex-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    scratchDirectory() = pattern;
    std::filesystem::current_path(pattern);
    std::atexit(removeScratchDirectory);
    if (!std::freopen("/dev/null", "w", stdout))
        std::abort();
}

void writeInput(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    if (const auto folder = std::filesystem::path(path).parent_path(); !folder.empty())
        std::filesystem::create_directories(folder);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}
