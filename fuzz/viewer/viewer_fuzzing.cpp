#include "viewer_fuzzing.h"

#include "startup/fatal_error.h"

namespace {
[[noreturn]] void throwFatalError(const std::string& message)
{
    throw FatalErrorThrown{message};
}
} // namespace

void throwOnFatalError()
{
    setFatalErrorWaitsForEnter(false);
    setFatalErrorHandler(throwFatalError);
}
