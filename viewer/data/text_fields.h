#pragma once
// A cursor over a text file held in memory that reads integer fields the way
// formatted input does with a field width ("%6d", "%5d"): white space before
// the field is skipped and does not count toward the width; then an optional
// sign and decimal digits, at most `width` characters in all, stopping early
// at any other character, which is left for the next field.

#include <cstddef>
#include <string_view>

class FieldReader {
  public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // False when the field does not parse: end of text, or no digit where
    // one must be. `width` is at most 9, so the value always fits.
    bool readInt(int width, int& value);

    // Moves past the next line feed, or to the end when there is none.
    void skipLine();

    // The rest of the current line without its line end (a line feed, and a
    // carriage return just before it); moves past the line end.
    std::string_view takeLine();

    // Skips white space as a field read would, then returns the line that
    // starts there without its line end, or an empty view when the position
    // is not at the start of a line. Does not move past the line.
    std::string_view lineAtStart();

    // Moves past the line that lineAtStart() returned and its line end.
    void skipLineAtStart() { skipLine(); }

    std::size_t position() const { return pos_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};
