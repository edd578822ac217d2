#pragma once
// Which summits are labelled, and in which font.

namespace orvex {

struct Mountain;
struct ViewState;
enum class NameMode;

// GLUT's bitmap fonts.
enum class LabelFont { helvetica10, helvetica12, helvetica18, timesRoman24 };

// The large names in Helvetica 12 and the small ones in Helvetica 10; in a
// window taller than 900 pixels Helvetica 18 and 12, taller than 1400 Times
// Roman 24 and Helvetica 18.
LabelFont labelFont(NameMode mode, int windowHeight);

// Whether the summit lies within the drawing range around the eye (the
// horizontal distance, as the terrain's cells are tested).
bool summitInRange(const Mountain& mountain, const ViewState& view);

} // namespace orvex
