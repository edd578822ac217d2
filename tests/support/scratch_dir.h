#pragma once
// Scratch folders and files for every test program of the project.

#include <filesystem>
#include <string>

namespace testing_support {

// A fresh folder under /tmp, removed with everything in it when destroyed;
// with Enter::yes also the working directory while it lives (the previous
// one comes back afterwards).
class ScratchDir {
  public:
    enum class Enter { no, yes };
    explicit ScratchDir(Enter enter = Enter::no);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::filesystem::path previous_;
    std::string path_;
};

// Writes bytes to path, making the folders on the way; throws when it cannot.
void writeFile(const std::string& path, const std::string& bytes);

// A file's bytes; empty when it cannot be read.
std::string fileText(const std::string& path);

} // namespace testing_support
