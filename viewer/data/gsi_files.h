#pragma once
// What the two GSI mesh loaders share: opening and announcing a mesh file,
// the layout of its records, and the number format of its name.

#include <string>

struct GridPoint;
class FieldReader;

// Opens a mesh file as text and returns its whole content in `text`. Prints
// "Reading %s ...\n" with the path opened, or, when nothing opens,
// "*** <dataSetTag> : %s not found.\n" with the path as built and returns false.
bool loadGsiFile(const std::string& path, const char* dataSetTag, std::string& text);

// One record: a head of two ignored fields ("%6d%3d"), then `count`
// elevations ("%5d") in tenths of a metre, west to east, into row[0, count).
// A record standing alone on a line of exactly its length, in clean columns,
// is read by column. Returns false at the first field that does not parse;
// the points after it keep what they had.
bool readGsiRecord(FieldReader& reader, GridPoint* row, int count);

// `value` right-aligned in at least `width` characters, as "%*d" prints it.
std::string padNumber(long long value, int width);
