#include "render/summit_labels.h"

#include "state/mountain_table.h"
#include "state/view_state.h"

namespace orvex {

LabelFont labelFont(NameMode mode, int windowHeight)
{
    const bool large = mode != NameMode::small;
    if (windowHeight > 1400)
        return large ? LabelFont::timesRoman24 : LabelFont::helvetica18;
    if (windowHeight > 900)
        return large ? LabelFont::helvetica18 : LabelFont::helvetica12;
    return large ? LabelFont::helvetica12 : LabelFont::helvetica10;
}

bool summitInRange(const Mountain& mountain, const ViewState& view)
{
    const double dy = mountain.y - view.eye[0];
    const double dx = mountain.x - view.eye[1];
    return dy * dy + dx * dx <= view.rangeSquared;
}

} // namespace orvex
