#include "startup/fatal_error.h"

#include <cstdio>
#include <cstdlib>

namespace {
bool waitsForEnter = true;
}

void setFatalErrorWaitsForEnter(bool waits) { waitsForEnter = waits; }

void fatalError(const std::string& message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    if (waitsForEnter) {
        std::fputs("Press Enter key...", stdout);
        std::fflush(stdout);
        std::getchar();
    }
    std::exit(1);
}
