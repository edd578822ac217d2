#include "state/window_operations.h"

namespace {
void nothing() {}
} // namespace

WindowOperations windowOperations{nothing, nothing};
