#pragma once
// "orvex.col", the colour table that skyloom writes for the viewer.

namespace orvex {

// Reads "orvex.col" from the working directory into colours.
void readcolor();

} // namespace orvex
