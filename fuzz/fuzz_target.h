#pragma once
// What every fuzz target shares. The readers open their files by name, so a
// target writes each input to a file in a scratch working directory of its
// own and calls the real reader on it.

#include <cstddef>
#include <cstdint>
#include <string>

// Enters a fresh scratch directory under $TMPDIR (removed again at exit) and
// sends standard output, where the viewer announces every file it opens, to
// /dev/null. Call once, from LLVMFuzzerInitialize, with its arguments: the
// paths among libFuzzer's arguments (corpus folders, inputs, artifact
// prefix) are made absolute first, so that they keep naming what the user
// meant and findings are never written into the scratch directory.
void enterScratchDirectory(int* argc, char*** argv);

// Writes the input to `path`, relative to the scratch directory, creating
// the folders on the way.
void writeInput(const std::string& path, const std::uint8_t* data, std::size_t size);

// A property the reader promises its callers; a broken one aborts, so that
// libFuzzer keeps the input.
void require(bool condition, const char* what);
