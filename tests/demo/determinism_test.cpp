#include <gtest/gtest.h>

#include "demo_output.h"
#include "output_file.h"

namespace fs = std::filesystem;

TEST(DemoDeterminism, SecondRunWritesTheSameBytesAndNoPartialFile)
{
    const ScratchDir again;
    const std::vector<WrittenFile> written = writeDemoData(again.path(), demoTerrain());
    EXPECT_EQ(written.size(), 24u + 4u + 4u + 1u + 2u);
    for (const WrittenFile& file : written) {
        const fs::path relative = fs::relative(file.path, again.path());
        EXPECT_EQ(fs::file_size(file.path), file.bytes) << relative;
        EXPECT_TRUE(readBytes(file.path) == readBytes(demoDir() / relative)) << relative << " differs";
    }
    for (const auto& entry : fs::recursive_directory_iterator(again.path()))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST(DemoDeterminism, AFileAppearsOnlyWhenWhole)
{
    const ScratchDir dir;
    const fs::path path = dir.path() / "sub" / "file.bin";
    writeSparseFileAtomically(path, 1 << 20, {{4096, "xy"}});
    EXPECT_EQ(fs::file_size(path), 1u << 20);
    EXPECT_EQ(readBytes(path).substr(4094, 6), std::string("\0\0xy\0\0", 6));
    // A folder in the way of the final name: nothing is left behind.
    fs::create_directory(dir.path() / "taken");
    EXPECT_THROW(writeFileAtomically(dir.path() / "taken", "abc"), std::runtime_error);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}
