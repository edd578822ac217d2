#include "state/mountain_table.h"

MountainTable mountains;
