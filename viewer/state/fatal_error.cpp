#include "state/fatal_error.h"

#include <cstdio>
#include <cstdlib>

#include "state/load_progress.h"

namespace orvex {

namespace {
bool waitsForEnter = true;
FatalErrorHandler handler = nullptr;
} // namespace

void setFatalErrorWaitsForEnter(bool waits)
{
    waitsForEnter = waits;
}

void setFatalErrorHandler(FatalErrorHandler newHandler)
{
    handler = newHandler;
}

void fatalError(const std::string& message)
{
    if (handler)
        handler(message);
    loadProgress().finish();
    std::fprintf(stderr, "%s\n", message.c_str());
    if (waitsForEnter) {
        std::fputs("Press Enter key...", stdout);
        std::fflush(stdout);
        std::getchar();
    }
    std::exit(1);
}

} // namespace orvex
