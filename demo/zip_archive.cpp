#include "zip_archive.h"

#include <zip.h>

#include <memory>
#include <stdexcept>

namespace demo {

namespace {

struct SourceFree {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using Source = std::unique_ptr<zip_source_t, SourceFree>;

// An archive still open for writing; discarded unless closed.
struct ZipDiscard {
    void operator()(zip_t* zip) const { zip_discard(zip); }
};
using OpenZip = std::unique_ptr<zip_t, ZipDiscard>;

// A libzip error of our own, freed at the end.
struct Error {
    zip_error_t error;
    Error() { zip_error_init(&error); }
    ~Error() { zip_error_fini(&error); }
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;
};

[[noreturn]] void fail(const std::string& what, zip_error_t* error)
{
    throw std::runtime_error(what + ": " + zip_error_strerror(error));
}

void addMember(zip_t* zip, const ZipMember& member, std::time_t memberTime, int level)
{
    Source source(zip_source_buffer(zip, member.bytes.data(), member.bytes.size(), 0));
    if (!source)
        fail("cannot add " + member.name, zip_get_error(zip));
    const zip_int64_t index = zip_file_add(zip, member.name.c_str(), source.get(), ZIP_FL_ENC_UTF_8);
    if (index < 0)
        fail("cannot add " + member.name, zip_get_error(zip));
    source.release(); // the archive owns it now
    const auto at = static_cast<zip_uint64_t>(index);
    if (zip_set_file_compression(zip, at, ZIP_CM_DEFLATE, static_cast<zip_uint32_t>(level)) != 0 ||
        zip_file_set_mtime(zip, at, memberTime, 0) != 0)
        fail("cannot set up " + member.name, zip_get_error(zip));
}

std::string sourceBytes(zip_source_t* source)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) || zip_source_open(source) != 0)
        fail("cannot read the archive back", zip_source_error(source));
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    zip_uint64_t done = 0;
    for (zip_int64_t read = 1; done < stat.size && read > 0; done += static_cast<zip_uint64_t>(read)) {
        read = zip_source_read(source, bytes.data() + done, stat.size - done);
        if (read < 0) // the source is closed as it is freed
            fail("cannot read the archive back", zip_source_error(source));
    }
    zip_source_close(source);
    if (done != stat.size)
        throw std::runtime_error("the archive came back short");
    return bytes;
}

} // namespace

std::time_t zipMemberTime(int year, int month, int day)
{
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_isdst = -1;
    return std::mktime(&fields);
}

std::string zipArchive(const std::vector<ZipMember>& members, std::time_t memberTime, int level)
{
    Error error;
    const Source buffer(zip_source_buffer_create(nullptr, 0, 0, &error.error));
    if (!buffer)
        fail("cannot make an archive in memory", &error.error);
    OpenZip zip(zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error.error));
    if (!zip)
        fail("cannot make an archive in memory", &error.error);
    zip_source_keep(buffer.get()); // for reading back after the close
    for (const ZipMember& member : members)
        addMember(zip.get(), member, memberTime, level);
    if (zip_close(zip.get()) != 0)
        fail("cannot write the archive", zip_get_error(zip.get()));
    zip.release(); // closed and freed
    return sourceBytes(buffer.get());
}

} // namespace demo
