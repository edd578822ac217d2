#pragma once
// Runs the built programs through the shell, as a user would, capturing what
// they print.

#include <sys/wait.h>

#include <string>

#include "scratch_dir.h"

struct ProgramRun {
    int status;
    std::string out, err;
};

// Runs a shell command line in dir, with standard input from /dev/null
// unless the line pipes something in.
inline ProgramRun runInShell(const std::string& dir, const std::string& line)
{
    const testing_support::ScratchDir capture;
    const int status = std::system(("cd '" + dir + "' && { " + line + " ; } </dev/null >'" +
                                    capture.file("out") + "' 2>'" + capture.file("err") + "'")
                                       .c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testing_support::fileText(capture.file("out")),
            testing_support::fileText(capture.file("err"))};
}

// A shell loop that waits, at most five seconds, until `file` holds `text`.
inline std::string waitInShellFor(const std::string& text, const std::string& file)
{
    return "for i in $(seq 100); do grep -q '" + text + "' " + file +
           " 2>/dev/null && break; sleep 0.05; done";
}
