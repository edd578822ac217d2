#include "state/window_operations.h"

namespace orvex {

namespace {
void nothing(const ViewState&) {}
} // namespace

WindowOperations windowOperations{nothing, nothing};

} // namespace orvex
