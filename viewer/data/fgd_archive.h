#pragma once
// Finding and reading the GSI DEM files where users keep them: XML files and
// the ZIP archives of the downloads (one per sheet and kind, and bulk
// downloads wrapping several of those) anywhere under the data folder, read
// without unpacking anything to disk.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/fgd_mesh.h"

namespace orvex {

// What a DEM document, a ZIP member and a ZIP held in another ZIP may take;
// a 10 m document is about 15 to 20 MB.
inline constexpr std::size_t longestFgdDocument = std::size_t{64} << 20;
inline constexpr std::size_t largestInnerArchive = std::size_t{256} << 20;
inline constexpr int deepestArchiveNesting = 4;

// A file on disk, or a member of a ZIP archive there, or of a ZIP held in
// that one, and so on.
struct FgdSource {
    struct Member {
        std::uint64_t index;
        std::string name;
    };
    std::string path;
    std::vector<Member> members; // the outermost archive's member first

    // "path", or "path:member" (each archive's member after another colon).
    std::string shownName() const;
    // The file's own name, without folders.
    std::string_view fileName() const;
};

// A DEM document found, with what its name (or header) tells of it.
struct FgdFile {
    FgdSource source;
    FgdName name;
};

// Reads sources one after another, keeping the archives it opened last (a
// ZIP inside a ZIP is read into memory as a whole) for the next source in
// them.
class FgdArchiveReader {
  public:
    FgdArchiveReader();
    ~FgdArchiveReader();
    FgdArchiveReader(const FgdArchiveReader&) = delete;
    FgdArchiveReader& operator=(const FgdArchiveReader&) = delete;

    // Gives the bytes of `source` to `sink`, piece by piece, until the end
    // or until `sink` returns false. False, with `error` set, when the
    // source cannot be read or holds more than `limit` bytes.
    bool read(const FgdSource& source, std::size_t limit, const std::function<bool(std::string_view)>& sink,
              std::string& error);

    // The members of the archive `archive` names (a path, or a ZIP member
    // that is itself a ZIP); nothing, with `error` set, when it does not open.
    std::optional<std::vector<FgdSource::Member>> list(const FgdSource& archive, std::string& error);

  private:
    struct Level;
    bool open(const FgdSource& archive, std::string& error);
    std::vector<std::unique_ptr<Level>> levels_;
    std::vector<char> buffer_;
};

// Every DEM document under `dir` (at any depth, names in upper or lower case;
// `dir` may also name one document or archive)
// as a .xml file or in a .zip archive, nested ones included, that `wanted`
// accepts. Names of the published form decide at once, so an archive
// named for one sheet and kind is opened only when wanted; a document of
// another name is known by its header. `problems` receives, for each
// archive that could not be read, "<shown name> skipped: <why>".
std::vector<FgdFile> findFgdFiles(const std::string& dir, const std::function<bool(const FgdName&)>& wanted,
                                  std::vector<std::string>& problems);

// The files of each place (resolution and mesh code), in the order to try
// them: survey A before B before C (an unknown one last), then the newest.
using FgdPlace = std::pair<FgdResolution, MeshCode>;
std::map<FgdPlace, std::vector<FgdFile>> filesByPlace(std::vector<FgdFile> files);

// Reads and parses one document; nothing, with `error` set, when it cannot
// be read, is malformed or turns out to be of another place.
std::optional<FgdMesh> readFgdFile(FgdArchiveReader& archives, const FgdFile& file, std::string& error);

} // namespace orvex
