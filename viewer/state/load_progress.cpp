#include "state/load_progress.h"

#include <unistd.h>

#include <algorithm>

namespace orvex {

std::string progressIndicator(long long filesDone, long long filesToRead, std::uint64_t bytes, double seconds)
{
    std::string text = "Reading files: " + std::to_string(filesDone) + " of " +
                       std::to_string(std::max(filesDone, filesToRead));
    if (seconds >= 0.05 && bytes > 0) {
        char rate[48];
        std::snprintf(rate, sizeof rate, ", %.1f MB/s", static_cast<double>(bytes) / 1e6 / seconds);
        text += rate;
    }
    return text;
}

LoadProgress::LoadProgress(std::FILE* out, bool live) : out_(out), live_(live) {}

void LoadProgress::addFilesToRead(long long count)
{
    filesToRead_ += std::max(count, 0LL);
    draw();
}

void LoadProgress::addBytesRead(std::uint64_t count)
{
    bytes_ += count;
}

void LoadProgress::print(std::string_view lines, int filesDone)
{
    erase();
    std::fwrite(lines.data(), 1, lines.size(), out_);
    filesDone_ += filesDone;
    draw();
    std::fflush(out_);
}

void LoadProgress::finish()
{
    erase();
    std::fflush(out_);
}

void LoadProgress::erase()
{
    if (shown_)
        std::fputs("\r\033[K", out_);
    shown_ = false;
}

void LoadProgress::draw()
{
    if (!live_ || filesToRead_ + filesDone_ == 0)
        return;
    erase();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::fputs(progressIndicator(filesDone_, filesToRead_, bytes_, seconds).c_str(), out_);
    std::fflush(out_);
    shown_ = true;
}

LoadProgress& loadProgress()
{
    static LoadProgress progress(stdout, isatty(STDOUT_FILENO) == 1);
    return progress;
}

} // namespace orvex
