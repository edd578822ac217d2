#pragma once
// Runs the built programs through the shell, as a user would, capturing what
// they print.

#include <string>
#include <sys/wait.h>

#include "../test_files.h"

using namespace orvex;

struct ProgramRun {
    int status;
    std::string out, err;
};

// Runs a shell command line in dir, with standard input from /dev/null
// unless the line pipes something in.
inline ProgramRun runInShell(const std::string& dir, const std::string& line)
{
    const ScratchDir capture;
    const std::string command = "cd '" + dir + "' && { " + line + " ; } </dev/null >'" + capture.file("out") +
                                "' 2>'" + capture.file("err") + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileText(capture.file("out")),
            fileText(capture.file("err"))};
}
