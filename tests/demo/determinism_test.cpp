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
        EXPECT_NE(entry.path().extension(), ".part") << entry.path();
}

TEST(DemoDeterminism, PendingFileAppearsOnlyWhenCommitted)
{
    const ScratchDir dir;
    const fs::path path = dir.path() / "sub" / "file.bin";
    PendingFile(path).write("abc"); // abandoned, as when an exception unwinds
    EXPECT_TRUE(fs::is_empty(dir.path() / "sub"));
    {
        PendingFile file(path);
        file.writeAt(4096, "xy");
        file.commit(1 << 20);
    }
    EXPECT_EQ(fs::file_size(path), 1u << 20);
    EXPECT_EQ(readBytes(path).substr(4094, 6), std::string("\0\0xy\0\0", 6));
    EXPECT_THROW(PendingFile(path / "below-a-file"), std::exception);
}
