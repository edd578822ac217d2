#include "child_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void makePipe(int ends[2])
{
    if (pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
}

using Clock = std::chrono::steady_clock;

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& words, const std::string& workDir)
{
    int in[2], out[2], err[2];
    makePipe(in);
    makePipe(out);
    makePipe(err);
    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        // Only async-signal-safe calls between fork and exec.
        if (chdir(workDir.c_str()) != 0 || dup2(in[0], 0) < 0 || dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0)
            _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    input_ = in[1];
    output_ = out[0];
    error_ = err[0];
    std::signal(SIGPIPE, SIG_IGN);  // a child that ends early must not kill the test
}

ChildProcess::~ChildProcess()
{
    for (int fd : {input_, output_, error_})
        if (fd >= 0)
            close(fd);
    if (!reaped_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

void ChildProcess::writeInput(const std::string& bytes)
{
    std::size_t done = 0;
    while (input_ >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(input_, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
}

void ChildProcess::closeInput()
{
    if (input_ >= 0)
        close(input_);
    input_ = -1;
}

// Moves whatever the outputs hold into out_ and err_; false once both ended
// or the time ran out without anything arriving.
bool ChildProcess::pump(int timeoutMs)
{
    pollfd fds[2] = {{output_, POLLIN, 0}, {error_, POLLIN, 0}};
    if (output_ < 0 && error_ < 0)
        return false;
    if (poll(fds, 2, timeoutMs) <= 0)
        return false;
    int* ends[2] = {&output_, &error_};
    std::string* texts[2] = {&out_, &err_};
    for (int i = 0; i < 2; ++i) {
        if (*ends[i] < 0 || fds[i].revents == 0)
            continue;
        char chunk[4096];
        const ssize_t n = read(*ends[i], chunk, sizeof chunk);
        if (n > 0) {
            texts[i]->append(chunk, static_cast<std::size_t>(n));
        } else {
            close(*ends[i]);
            *ends[i] = -1;
        }
    }
    return true;
}

bool ChildProcess::waitForOutput(const std::string& text, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out_.find(text) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || !pump(static_cast<int>(left.count())))
            return out_.find(text) != std::string::npos;
    }
    return true;
}

bool ChildProcess::running()
{
    if (reaped_)
        return false;
    if (waitpid(pid_, &status_, WNOHANG) == pid_)
        reaped_ = true;
    return !reaped_;
}

ChildResult ChildProcess::finish(int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    ChildResult result;
    while (output_ >= 0 || error_ >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || !pump(static_cast<int>(left.count())))
            break;
    }
    if (!reaped_ && (output_ >= 0 || error_ >= 0)) {
        kill(pid_, SIGKILL);  // past the deadline
        waitpid(pid_, &status_, 0);
        reaped_ = true;
    } else if (!reaped_) {
        waitpid(pid_, &status_, 0);
        reaped_ = true;
        result.exited = WIFEXITED(status_);
    } else {
        result.exited = WIFEXITED(status_);
    }
    if (result.exited)
        result.exitStatus = WEXITSTATUS(status_);
    result.out = out_;
    result.err = err_;
    return result;
}

ChildResult runChild(const std::vector<std::string>& words, const std::string& workDir,
                     const std::string& input, int timeoutMs)
{
    ChildProcess child(words, workDir);
    child.writeInput(input);
    child.closeInput();
    return child.finish(timeoutMs);
}

ScratchDir::ScratchDir()
{
    std::string pattern = "/tmp/orvex-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void ScratchDir::write(const std::string& name, const std::string& bytes) const
{
    std::ofstream stream(file(name), std::ios::binary);
    stream << bytes;
    if (!stream)
        throw std::runtime_error("cannot write " + name);
}
