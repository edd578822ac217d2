#pragma once
// Runs one of the built programs as a child process with pipes on its
// standard input, output and error, for tests of what a user would see.

#include <string>
#include <sys/types.h>
#include <vector>

struct ChildResult {
    bool exited = false;    // false: it had to be killed after the deadline
    int exitStatus = -1;
    std::string out;
    std::string err;
};

class ChildProcess {
public:
    // words[0] is the program's path; the child starts in workDir.
    ChildProcess(const std::vector<std::string>& words, const std::string& workDir);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void writeInput(const std::string& bytes);
    void closeInput();

    // Reads standard output until it holds text (true) or the deadline passes.
    bool waitForOutput(const std::string& text, int timeoutMs);
    // True while the child has not ended.
    bool running();
    // Closes nothing: reads both outputs to their end, then waits for the exit.
    ChildResult finish(int timeoutMs);

    const std::string& out() const { return out_; }

private:
    bool pump(int timeoutMs);

    pid_t pid_ = -1;
    int input_ = -1, output_ = -1, error_ = -1;
    bool reaped_ = false;
    int status_ = 0;
    std::string out_, err_;
};

// Runs the program to its end with the given bytes on standard input (then
// end of input); a child still running after timeoutMs is killed.
ChildResult runChild(const std::vector<std::string>& words, const std::string& workDir,
                     const std::string& input = "", int timeoutMs = 20000);

// A fresh, empty directory under /tmp, removed with everything in it when the
// object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};
