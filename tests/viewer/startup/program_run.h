#pragma once
// Runs the built programs through the shell, as a user would, capturing what
// they print.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <sys/wait.h>

// A fresh, empty directory under /tmp, removed with its contents at the end.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = "/tmp/orvex-test-XXXXXX";
        path_ = mkdtemp(pattern.data()) ? pattern : throw std::runtime_error("mkdtemp failed");
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

inline std::string contents(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

struct ProgramRun {
    int status;
    std::string out, err;
};

// Runs a shell command line in dir, with standard input from /dev/null
// unless the line pipes something in.
inline ProgramRun runInShell(const std::string& dir, const std::string& line)
{
    const ScratchDir capture;
    const std::string command = "cd '" + dir + "' && { " + line + " ; } </dev/null >'" +
                                capture.file("out") + "' 2>'" + capture.file("err") + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, contents(capture.file("out")),
            contents(capture.file("err"))};
}
