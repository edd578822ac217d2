#include "data/fgd_archive.h"

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "state/load_progress.h"

namespace orvex {

namespace {

struct ZipDiscard {
    void operator()(zip_t* zip) const { zip_discard(zip); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipDiscard>;

struct ZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ZipFileHandle = std::unique_ptr<zip_file_t, ZipFileClose>;

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

constexpr std::size_t pieceSize = std::size_t{1} << 18;
// An unknown name's header lies in its first kilobytes.
constexpr std::size_t headerPeek = std::size_t{64} << 10;

std::string zipErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string_view withoutFolders(std::string_view name)
{
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

bool hasExtension(std::string_view name, std::string_view extension)
{
    if (name.size() < extension.size())
        return false;
    const std::string_view tail = name.substr(name.size() - extension.size());
    return std::equal(tail.begin(), tail.end(), extension.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

// Gives member `index` of `zip` to `sink` piece by piece, refusing one that
// claims or turns out to hold more than `limit` bytes.
bool readMember(zip_t* zip, std::uint64_t index, std::size_t limit, std::vector<char>& buffer,
                const std::function<bool(std::string_view)>& sink, std::string& error)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(zip, index, 0, &stat) != 0) {
        error = zip_strerror(zip);
        return false;
    }
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > limit) {
        error = "a member of " + std::to_string(stat.size) + " bytes, more than any DEM file";
        return false;
    }
    const ZipFileHandle file(zip_fopen_index(zip, index, 0));
    if (!file) {
        error = zip_strerror(zip);
        return false;
    }
    buffer.resize(pieceSize);
    std::size_t total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), buffer.data(), buffer.size());
        if (got < 0) {
            error = zip_file_strerror(file.get());
            return false;
        }
        if (got == 0)
            return true;
        total += static_cast<std::size_t>(got);
        if (total > limit) {
            error = "a member longer than any DEM file";
            return false;
        }
        if (!sink(std::string_view(buffer.data(), static_cast<std::size_t>(got))))
            return true;
    }
}

bool readPlainFile(const std::string& path, std::size_t limit, std::vector<char>& buffer,
                   const std::function<bool(std::string_view)>& sink, std::string& error)
{
    const std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = "cannot be opened";
        return false;
    }
    buffer.resize(pieceSize);
    std::size_t total = 0;
    for (;;) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
        if (got == 0) {
            if (std::ferror(file.get())) {
                error = "cannot be read";
                return false;
            }
            return true;
        }
        total += got;
        if (total > limit) {
            error = "longer than any DEM file";
            return false;
        }
        if (!sink(std::string_view(buffer.data(), got)))
            return true;
    }
}

} // namespace

std::string FgdSource::shownName() const
{
    std::string shown = path;
    for (const Member& member : members)
        shown += ":" + member.name;
    return shown;
}

std::string_view FgdSource::fileName() const
{
    return withoutFolders(members.empty() ? std::string_view(path) : std::string_view(members.back().name));
}

// One archive of the chain that is open: the file on disk, or a member of
// the level before, held in memory.
struct FgdArchiveReader::Level {
    std::uint64_t index = 0; // in the level before; unused for the file on disk
    std::string path;        // only for the file on disk
    std::vector<char> bytes; // the archive, when held in another; outlives `zip`
    ZipHandle zip;
};

FgdArchiveReader::FgdArchiveReader() = default;
FgdArchiveReader::~FgdArchiveReader() = default;

bool FgdArchiveReader::open(const FgdSource& archive, std::string& error)
{
    // Keep the levels the archive shares with the chain open now.
    std::size_t kept = 0;
    if (!levels_.empty() && levels_[0]->path == archive.path) {
        kept = 1;
        while (kept < levels_.size() && kept <= archive.members.size() &&
               levels_[kept]->index == archive.members[kept - 1].index)
            ++kept;
    }
    levels_.resize(kept);
    if (levels_.empty()) {
        int code = 0;
        auto level = std::make_unique<Level>();
        level->path = archive.path;
        level->zip.reset(zip_open(archive.path.c_str(), ZIP_RDONLY, &code));
        if (!level->zip) {
            error = zipErrorText(code);
            return false;
        }
        levels_.push_back(std::move(level));
    }
    while (levels_.size() <= archive.members.size()) {
        auto level = std::make_unique<Level>();
        level->index = archive.members[levels_.size() - 1].index;
        std::vector<char>& bytes = level->bytes;
        const auto keep = [&bytes](std::string_view piece) {
            bytes.insert(bytes.end(), piece.begin(), piece.end());
            return true;
        };
        if (!readMember(levels_.back()->zip.get(), level->index, largestInnerArchive, buffer_, keep, error))
            return false;
        zip_error_t zipError;
        zip_error_init(&zipError);
        zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &zipError);
        if (source) {
            level->zip.reset(zip_open_from_source(source, ZIP_RDONLY, &zipError));
            if (!level->zip)
                zip_source_free(source);
        }
        if (!level->zip) {
            error = zip_error_strerror(&zipError);
            zip_error_fini(&zipError);
            return false;
        }
        zip_error_fini(&zipError);
        levels_.push_back(std::move(level));
    }
    return true;
}

bool FgdArchiveReader::read(const FgdSource& source, std::size_t limit,
                            const std::function<bool(std::string_view)>& sink, std::string& error)
{
    if (source.members.empty())
        return readPlainFile(source.path, limit, buffer_, sink, error);
    FgdSource archive = source;
    archive.members.pop_back();
    if (!open(archive, error))
        return false;
    return readMember(levels_.back()->zip.get(), source.members.back().index, limit, buffer_, sink, error);
}

std::optional<std::vector<FgdSource::Member>> FgdArchiveReader::list(const FgdSource& archive,
                                                                     std::string& error)
{
    if (!open(archive, error))
        return std::nullopt;
    zip_t* zip = levels_.back()->zip.get();
    std::vector<FgdSource::Member> members;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(zip, static_cast<zip_uint64_t>(i), 0);
        if (name && *name && !std::string_view(name).ends_with('/'))
            members.push_back({static_cast<std::uint64_t>(i), name});
    }
    return members;
}

namespace {

class Finder {
  public:
    Finder(const std::function<bool(const FgdName&)>& wanted, std::vector<std::string>& problems)
        : wanted_(wanted), problems_(problems)
    {
    }

    void document(const FgdSource& source)
    {
        const std::optional<FgdName> name = parseFgdName(source.fileName());
        if (name && (name->resolution == FgdResolution::metres10 || name->code.r >= 0)) {
            if (wanted_(*name))
                found.push_back({source, *name});
            return;
        }
        // Another name: the header tells the place.
        FgdMeshReader reader(source.fileName());
        std::string error;
        archives_.read(
            source, headerPeek,
            [&reader](std::string_view piece) { return reader.feed(piece) && !reader.reachedTuples(); },
            error);
        const std::optional<FgdName> identity = reader.identity();
        if (reader.reachedTuples() && identity && wanted_(*identity))
            found.push_back({source, *identity});
    }

    void archive(const FgdSource& source, int depth)
    {
        if (const std::optional<FgdName> name = parseFgdName(source.fileName()); name && !wanted_(*name))
            return;
        if (depth > deepestArchiveNesting) {
            problems_.push_back(source.shownName() + " skipped: archives nested too deep");
            return;
        }
        std::string error;
        const std::optional<std::vector<FgdSource::Member>> members = archives_.list(source, error);
        if (!members) {
            problems_.push_back(source.shownName() + " skipped: " + error);
            return;
        }
        for (const FgdSource::Member& member : *members) {
            FgdSource inner = source;
            inner.members.push_back(member);
            if (hasExtension(member.name, ".xml"))
                document(inner);
            else if (hasExtension(member.name, ".zip"))
                archive(inner, depth + 1);
        }
    }

    std::vector<FgdFile> found;

  private:
    const std::function<bool(const FgdName&)>& wanted_;
    std::vector<std::string>& problems_;
    FgdArchiveReader archives_;
};

int surveyRank(char survey)
{
    return survey == 0 ? 'Z' : survey;
}

} // namespace

std::vector<FgdFile> findFgdFiles(const std::string& dir, const std::function<bool(const FgdName&)>& wanted,
                                  std::vector<std::string>& problems)
{
    namespace fs = std::filesystem;
    std::vector<std::string> paths;
    std::error_code error;
    fs::recursive_directory_iterator entry(dir, fs::directory_options::skip_permission_denied, error);
    for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        const std::string path = entry->path().string();
        std::error_code ignored;
        if ((hasExtension(path, ".xml") || hasExtension(path, ".zip")) && entry->is_regular_file(ignored))
            paths.push_back(path);
    }
    // A download named in place of the folder is read alone.
    if (std::error_code ignored; fs::is_regular_file(dir, ignored))
        paths.push_back(dir);
    std::sort(paths.begin(), paths.end());

    Finder finder(wanted, problems);
    for (const std::string& path : paths) {
        const FgdSource source{path, {}};
        if (hasExtension(path, ".xml"))
            finder.document(source);
        else
            finder.archive(source, 1);
    }
    return std::move(finder.found);
}

std::map<FgdPlace, std::vector<FgdFile>> filesByPlace(std::vector<FgdFile> files)
{
    std::map<FgdPlace, std::vector<FgdFile>> places;
    for (FgdFile& file : files)
        places[{file.name.resolution, file.name.code}].push_back(std::move(file));
    for (auto& [place, candidates] : places) {
        std::sort(candidates.begin(), candidates.end(), [](const FgdFile& a, const FgdFile& b) {
            if (a.name.survey != b.name.survey)
                return surveyRank(a.name.survey) < surveyRank(b.name.survey);
            if (a.name.date != b.name.date)
                return a.name.date > b.name.date;
            return a.source.shownName() < b.source.shownName();
        });
    }
    return places;
}

std::optional<FgdMesh> readFgdFile(FgdArchiveReader& archives, const FgdFile& file, std::string& error)
{
    FgdMeshReader reader(file.source.fileName());
    if (!archives.read(
            file.source, longestFgdDocument,
            [&reader](std::string_view piece) {
                loadProgress().addBytesRead(piece.size());
                return reader.feed(piece);
            },
            error))
        return std::nullopt;
    std::optional<FgdMesh> mesh = reader.finish();
    if (!mesh) {
        error = reader.error();
        return std::nullopt;
    }
    if (mesh->name.resolution != file.name.resolution || mesh->name.code != file.name.code) {
        error = "the header names another mesh";
        return std::nullopt;
    }
    return mesh;
}

} // namespace orvex
