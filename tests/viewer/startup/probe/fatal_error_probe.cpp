// Prints a line, then ends through fatalError with the message of word 1.
#include <cstdio>

#include "state/fatal_error.h"

int main(int argc, char* argv[])
{
    std::fputs("started\n", stdout);
    orvex::fatalError(argc > 1 ? argv[1] : "");
}
