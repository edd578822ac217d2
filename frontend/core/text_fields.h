#pragma once
// The field syntax shared by skyloom.env and orvex.col. Writing: every number
// is a sign position (blank or "-"), its digits and one trailing blank; lines
// end with CR LF. Reading: fields follow one another across line ends; a
// number ends at a blank, a comma or a line end and is rounded to the nearest
// integer (ties to even); a text is either in double quotes or runs to the
// next comma or line end. Nothing here depends on the locale.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>

namespace skyloom {

// " 5 ", "-12 ", " 0 ".
QByteArray formatNumber(std::int64_t value);

// The nearest integer, ties to the even one; nothing for a value that is not
// finite or lies outside [low, high].
std::optional<std::int64_t> roundHalfEven(double value, std::int64_t low, std::int64_t high);

// Reads fields from the front of a file's bytes. Every read either gives a
// field or fails; after a failure the caller stops reading.
class FieldReader {
  public:
    explicit FieldReader(QByteArray bytes) : bytes_(std::move(bytes)) {}

    // A number rounded to the nearest integer in [low, high]; a field that is
    // empty, not a decimal number, or out of range is a failure.
    std::optional<std::int64_t> readInteger(std::int64_t low, std::int64_t high);
    std::optional<int> readInt32();

    // A text field, decoded as UTF-8.
    std::optional<QString> readText();

  private:
    void skipSeparatorsBeforeField();
    void skipAfterField();
    bool atEnd() const { return pos_ >= bytes_.size(); }
    char peek() const { return bytes_.at(pos_); }

    QByteArray bytes_;
    qsizetype pos_ = 0;
};

} // namespace skyloom
