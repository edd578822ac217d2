#include "state/window_operations.h"

namespace orvex {

namespace {
void nothing() {}
} // namespace

WindowOperations windowOperations{nothing, nothing};

} // namespace orvex
