#pragma once
#include <string>

// The viewer's one way to end on an error: the message on standard error,
// "Press Enter key..." on standard output, one character read from standard
// input (end of input ends the wait too), then exit status 1.
[[noreturn]] void fatalError(const std::string& message);

// orvex-export has no one to press Enter: it ends at once.
void setFatalErrorWaitsForEnter(bool waits);
