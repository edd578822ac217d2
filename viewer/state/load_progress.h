#pragma once
// What the loaders tell while they read: each progress or error line reaches
// standard output as it is printed, and on a terminal a one-line indicator
// below them (files read of files to read, and the reading rate) is written
// over in place, until the window opens.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace orvex {

// The indicator's text, e.g. "Reading files: 3 of 24, 12.5 MB/s"; the rate
// only once some time has passed.
std::string progressIndicator(long long filesDone, long long filesToRead, std::uint64_t bytes,
                              double seconds);

class LoadProgress {
  public:
    // `live`: keep the indicator line under the printed lines.
    LoadProgress(std::FILE* out, bool live);

    // More files to read, as a loader lists them.
    void addFilesToRead(long long count);
    // Bytes read from the files (for the rate); from any thread.
    void addBytesRead(std::uint64_t count);
    // Prints whole lines at once, `filesDone` more of the files dealt with.
    void print(std::string_view lines, int filesDone = 0);
    // Erases the indicator; nothing shows until the next print.
    void finish();

    long long filesDone() const { return filesDone_; }
    long long filesToRead() const { return filesToRead_; }

  private:
    void erase();
    void draw();

    std::FILE* out_;
    bool live_;
    bool shown_ = false;
    long long filesDone_ = 0;
    long long filesToRead_ = 0;
    std::atomic<std::uint64_t> bytes_{0};
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The process-wide one on standard output, live when that is a terminal.
LoadProgress& loadProgress();

} // namespace orvex
