// "orvex.env": six lines of numbers that carry the window size, the light and
// the display switches from one run to the next. Read like formatted input:
// only the order of the numbers matters, and from the first value that cannot
// be read onwards every field keeps its default.

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "common/pending_file.h"
#include "common/shared_files.h"
#include "data/data_file.h"
#include "data/text_scanner.h"
#include "data/view_state_file.h"
#include "state/view_state.h"

namespace orvex {

namespace {

// An integer out of range and a number that is not finite are unreadable.
bool read(TextScanner& in, int& field)
{
    const std::optional<int> value = in.readExactInt();
    if (value)
        field = *value;
    return value.has_value();
}

// A mode outside 0 .. 2 is read as names off.
bool read(TextScanner& in, NameMode& field)
{
    int value = 0;
    if (!read(in, value))
        return false;
    field = value >= 0 && value <= 2 ? static_cast<NameMode>(value) : NameMode::off;
    return true;
}

bool read(TextScanner& in, double& field)
{
    const std::optional<double> value = in.readDouble();
    if (!value || !std::isfinite(*value))
        return false;
    field = *value;
    return true;
}

// The values in file order; reading stops at the first one that fails.
bool readValues(TextScanner& in, ViewState& view)
{
    return read(in, view.windowWidth) && read(in, view.windowHeight) && read(in, view.brightness) &&
           read(in, view.sunAzimuth) && read(in, view.sunElevation) && read(in, view.blendColours) &&
           read(in, view.nameMode);
}

void repairValues(ViewState& view)
{
    if (!(view.brightness > 0))
        view.brightness = 1.0;
    if (view.blendColours < 0 || view.blendColours > 1)
        view.blendColours = 0;
    // A size the window system cannot make would bring the viewer down.
    const auto sideOk = [](int side) { return side >= 1 && side <= largestWindowSide; };
    if (!sideOk(view.windowWidth) || !sideOk(view.windowHeight)) {
        view.windowWidth = 700;
        view.windowHeight = 550;
    }
}

void appendFixed(std::string& out, double value, int decimals)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc())
        out.append(buffer, result.ptr);
    else
        out += "0";
}

std::string formatViewState(const ViewState& view)
{
    std::string text =
        std::to_string(common::fileVersionMajor) + " " + std::to_string(common::fileVersionMinor) + "\n";
    text += std::to_string(view.windowWidth) + " " + std::to_string(view.windowHeight) + "\n";
    appendFixed(text, view.brightness, 3);
    text += "\n";
    appendFixed(text, view.sunAzimuth, 1);
    text += " ";
    appendFixed(text, view.sunElevation, 1);
    text += "\n";
    text += std::to_string(view.blendColours) + "\n";
    text += std::to_string(static_cast<int>(view.nameMode)) + "\n";
    return text;
}

} // namespace

void loadViewState(ViewState& view)
{
    std::optional<std::string> text = readTextFile(common::viewStateFileName, common::longestSettingsFile);
    if (!text)
        return;
    TextScanner in(std::move(*text));
    if (in.readExactInt() != common::fileVersionMajor || in.readExactInt() != common::fileVersionMinor)
        return;
    readValues(in, view);
    repairValues(view);
}

void saveViewState(const ViewState& view)
{
    const std::string text = formatViewState(view);
    common::PendingFile file(common::viewStateFileName);
    if (file.write(text.data(), text.size()) && file.finish())
        file.commit();
}

void loadViewState()
{
    loadViewState(view);
}

void saveViewState()
{
    saveViewState(view);
}

} // namespace orvex
