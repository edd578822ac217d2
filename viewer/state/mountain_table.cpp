#include "state/mountain_table.h"

namespace orvex {

MountainTable mountains;

} // namespace orvex
