#pragma once
// Formatted reading of the viewer's text held in memory: the mesh files, the
// summit lists, "orvex.col", "orvex.env" and the numbers of the command line.
// Numbers are read as "%d", "%5d" and "%lf" read them: white space of any
// kind (line ends included) is skipped first and does not count toward a
// field width; the read stops early at the first other character, which is
// left for the next read.

#include <algorithm>
#include <climits>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

class TextScanner {
  public:
    explicit TextScanner(std::string text) : text_(std::move(text)) {}

    // Skips white space; true when nothing but white space was left.
    bool atEnd();

    // An optional sign and decimal digits, at most `width` characters in all.
    // Nothing when there is no digit; a value beyond int is clamped. Inline,
    // so that the mesh files' millions of fields pay no returned optional.
    std::optional<int> readInt(std::size_t width = std::string::npos)
    {
        long long value = 0;
        if (!readWholeNumber(width, value))
            return std::nullopt;
        return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    }
    // The same, but a value beyond int is no value, and the scanner stays
    // before it.
    std::optional<int> readExactInt();
    // A real number as strtod reads it in the C locale.
    std::optional<double> readDouble();

    // The rest of the current line without its LF and a CR right before the
    // LF; the scanner moves past the LF. At the end of the text without a line
    // end, everything that is left.
    std::string_view readRestOfLine();

    // Moves past the next LF, or to the end when there is none.
    void skipLine();

    // Skips white space as a number read would, then returns the line that
    // starts there without its line end, or an empty view when the position
    // is not at the start of a line. Does not move past the line.
    std::string_view lineAtStart();

  private:
    void skipWhiteSpace();
    // The signed number of up to `width` characters, its magnitude held just
    // past the range of int; the scanner then stands behind it.
    bool readWholeNumber(std::size_t width, long long& value);

    std::string text_;
    std::size_t pos_ = 0;
};

} // namespace orvex
