#pragma once
// Numbers read one after another from text, the way formatted input reads
// them: white space before each is skipped, then a sign and digits (and for a
// real number a fraction and an exponent) are taken. A value that cannot be
// read, that is not a finite number, or that does not fit its type fails, and
// the reader stays where it is, so every later read fails too.

#include <string>
#include <string_view>

class NumberReader {
public:
    explicit NumberReader(std::string_view text) : text_(text) {}

    bool readInt(int& value);
    bool readDouble(double& value);

private:
    void skipSpace();
    std::string_view text_;
    std::size_t position_ = 0;
    bool failed_ = false;
};
