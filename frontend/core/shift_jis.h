#pragma once
// Shift-JIS, the encoding of the sheet-name index files.

#include <QByteArray>
#include <QString>

namespace skyloom {

// Decodes Shift-JIS text with Qt's converter, or with iconv where this Qt
// build has no Shift_JIS codec. Undecodable bytes become U+FFFD.
QString decodeShiftJis(const QByteArray& bytes);

// The iconv path on its own (CP932, else SHIFT_JIS).
QString decodeShiftJisWithIconv(const QByteArray& bytes);

// Width of a text in Shift-JIS bytes, the measure the map centres names by:
// 1 for ASCII and half-width katakana, 2 for every other character.
int shiftJisByteCount(const QString& text);

} // namespace skyloom
