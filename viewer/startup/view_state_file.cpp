// "orvex.env": six lines of numbers that carry the window size, the light and
// the display switches from one run to the next. Read like formatted input:
// only the order of the numbers matters, and from the first value that cannot
// be read onwards every field keeps its default.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "startup/text_numbers.h"
#include "startup/view_state.h"

namespace {

constexpr const char* fileName = "orvex.env";
constexpr const char* scratchName = "orvex.env.new";
// The six values need a few dozen bytes; a larger file is not ours.
constexpr std::size_t longestUsefulFile = 64 * 1024;

std::string readHead(std::FILE* file)
{
    std::string text;
    char chunk[4096];
    while (text.size() < longestUsefulFile) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (got == 0)
            break;
        text.append(chunk, got);
    }
    return text;
}

// The values in file order; reading stops at the first one that fails.
void readValues(NumberReader& reader)
{
    if (!reader.readInt(view.windowWidth) || !reader.readInt(view.windowHeight))
        return;
    if (!reader.readDouble(view.brightness))
        return;
    if (!reader.readDouble(view.sunAzimuth) || !reader.readDouble(view.sunElevation))
        return;
    if (!reader.readInt(view.blendColours))
        return;
    reader.readInt(view.nameMode);
}

void repairValues()
{
    if (!(view.brightness > 0))
        view.brightness = 1.0;
    if (view.blendColours < 0 || view.blendColours > 1)
        view.blendColours = 0;
    if (view.nameMode < 0 || view.nameMode > 2)
        view.nameMode = 0;
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
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc())
        out.append(buffer, result.ptr);
    else
        out += "0";
}

std::string formatViewState()
{
    std::string text = "2 0\n";
    text += std::to_string(view.windowWidth) + " " + std::to_string(view.windowHeight) + "\n";
    appendFixed(text, view.brightness, 3);
    text += "\n";
    appendFixed(text, view.sunAzimuth, 1);
    text += " ";
    appendFixed(text, view.sunElevation, 1);
    text += "\n";
    text += std::to_string(view.blendColours) + "\n";
    text += std::to_string(view.nameMode) + "\n";
    return text;
}

}  // namespace

void loadViewState()
{
    std::FILE* file = std::fopen(fileName, "r");
    if (!file)
        return;
    const std::string text = readHead(file);
    std::fclose(file);

    NumberReader reader(text);
    int major = 0;
    int minor = 0;
    if (!reader.readInt(major) || !reader.readInt(minor) || major != 2 || minor != 0)
        return;
    readValues(reader);
    repairValues();
}

void saveViewState()
{
    const std::string text = formatViewState();
    std::FILE* file = std::fopen(scratchName, "w");
    if (!file)
        return;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(scratchName, fileName) != 0)
        std::remove(scratchName);
}
