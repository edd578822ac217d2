#pragma once
// "orvex.col", the colour table that skyloom writes for the viewer.

namespace orvex {

struct ColourTable;

// Reads "orvex.col" from the working directory into the table.
void readcolor(ColourTable& colours);
void readcolor(); // into the process-wide table

} // namespace orvex
