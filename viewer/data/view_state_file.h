#pragma once
// "orvex.env", the view state kept from one run to the next.

namespace orvex {

struct ViewState;

// Reads "orvex.env" from the working directory over the current values.
void loadViewState(ViewState& view);
void loadViewState(); // into the process-wide view state

// Writes "orvex.env" into the working directory, beside and then renamed, so
// the file is never left half-written. When it cannot be written nothing is
// saved and nothing is reported.
void saveViewState(const ViewState& view);
void saveViewState(); // the process-wide view state

} // namespace orvex
