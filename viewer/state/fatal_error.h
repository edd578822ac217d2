#pragma once
#include <string>

namespace orvex {

// The viewer's one way to end on an error: the message on standard error,
// "Press Enter key..." on standard output, one character read from standard
// input (end of input ends the wait too), then exit status 1.
[[noreturn]] void fatalError(const std::string& message);

// orvex-export has no one to press Enter: it ends at once.
void setFatalErrorWaitsForEnter(bool waits);

// Tests and fuzz targets that must outlive a fatal error install a handler
// that throws; it runs before anything is printed. A handler that returns
// leaves the usual ending to follow. Null restores the usual ending alone.
using FatalErrorHandler = void (*)(const std::string& message);
void setFatalErrorHandler(FatalErrorHandler handler);

} // namespace orvex
