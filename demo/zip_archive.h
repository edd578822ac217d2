#pragma once
// ZIP archives made in memory by libzip, the same bytes on every run: each
// member carries the one fixed date and time of the demo data instead of
// the moment it was written.

#include <ctime>
#include <string>
#include <vector>

namespace demo {

struct ZipMember {
    std::string name;
    std::string bytes;
};

// The local time that every member is stamped with: ZIP keeps a member's
// time as a local date and time, so the same fields give the same bytes in
// every time zone.
std::time_t zipMemberTime(int year, int month, int day);

// An archive of the members in order, deflated at `level` (1 fastest .. 9
// smallest); throws std::runtime_error with libzip's message on failure.
std::string zipArchive(const std::vector<ZipMember>& members, std::time_t memberTime, int level);

} // namespace demo
