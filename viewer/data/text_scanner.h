#pragma once
// Formatted reading of the viewer's small text files ("orvex.col", the summit
// lists) held in memory: numbers are read as "%d" and "%lf" read them from a
// file, white space of any kind (line ends included) skipped first, but an
// integer too large for int is clamped instead of being undefined.

#include <cstddef>
#include <optional>
#include <string>

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> readTextFile(const std::string& path);

class TextScanner {
public:
    explicit TextScanner(std::string text) : text_(std::move(text)) {}

    // Skips white space; true when nothing but white space was left.
    bool skipToEnd();

    // Nothing when the next field is not a number; the scanner then stands on
    // the character that stopped the read.
    std::optional<int> readInt();
    std::optional<double> readDouble();

    // The rest of the current line without its LF and a CR right before the
    // LF; the scanner moves past the LF. At the end of the text without a line
    // end, everything that is left.
    std::string readRestOfLine();

private:
    void skipWhiteSpace();

    std::string text_;
    std::size_t pos_ = 0;
};
