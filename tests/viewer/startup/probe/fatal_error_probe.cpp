// Ends through fatalError with the message of word 1; "no-wait" as word 2
// ends without waiting for Enter. A line is printed first, unflushed, to
// show that the exit flushes open streams.
#include <cstdio>
#include <cstring>

#include "startup/fatal_error.h"

int main(int argc, char* argv[])
{
    if (argc > 2 && std::strcmp(argv[2], "no-wait") == 0)
        setFatalErrorWaitsForEnter(false);
    std::fputs("started\n", stdout);
    fatalError(argc > 1 ? argv[1] : "");
}
