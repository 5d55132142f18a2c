#include "platform/file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"

#include "support/fob_writer.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

TEST(InputFile, WritingToAFileWhileItIsOpenIsSeenAsAChange) {
    testing::TempDir dir;
    const std::string path = dir.File("f.txt");
    for (const std::string& after : {std::string("abcdef"), std::string("a")}) {  // grown, shrunk
        testing::WriteBytes(path, "abc");
        const auto file = InputFile::Open(path);
        EXPECT_FALSE(file->ChangedSinceOpen());
        testing::WriteBytes(path, after);
        EXPECT_TRUE(file->ChangedSinceOpen()) << after;
    }
}

TEST(WriteFileReplacing, ReplacesWholeAndAFailedWriteLeavesTheOldFileAndNoTemporary) {
    testing::TempDir dir;
    const std::string path = dir.File("list.txt");
    testing::WriteBytes(path, "old");
    WriteFileReplacing(path, "new");
    EXPECT_EQ(testing::ReadBytes(path), "new");
    EXPECT_TRUE(SameExistingFile(path, dir.File(".") + "/list.txt"));
    EXPECT_FALSE(SameExistingFile(path, dir.File("missing.txt")));
    // A folder of that name cannot be replaced: the error names the file asked for.
    std::filesystem::create_directory(dir.File("sub"));
    try {
        WriteFileReplacing(dir.File("sub"), "x");
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("Cannot create file \"" + dir.File("sub") + "\". ")) << e.what();
    }
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.File("."))) ++files;
    EXPECT_EQ(files, 2u);  // list.txt and sub
}

TEST(ListFolder, ListsEachEntryOnceByNameAndTellsFoldersApart) {
    testing::TempDir dir;
    for (const char* name : {"b.txt", "A.TXT", ".hidden"}) testing::WriteBytes(dir.File(name), "x");
    std::filesystem::create_directory(dir.File("sub"));
    std::vector<std::pair<std::string, bool>> listed;
    for (const FolderEntry& e : ListFolder(dir.Path().string())) listed.emplace_back(e.Name, e.IsFolder);
    const std::vector<std::pair<std::string, bool>> want = {{".hidden", false}, {"A.TXT", false}, {"b.txt", false}, {"sub", true}};
    EXPECT_EQ(listed, want);
    EXPECT_TRUE(IsFolder(dir.File("sub")));
    EXPECT_FALSE(IsFolder(dir.File("b.txt")));
    EXPECT_FALSE(IsFolder(dir.File("missing")));
    EXPECT_THROW(ListFolder(dir.File("missing")), EFOpenError);
    EXPECT_EQ(PathInFolder(dir.File("sub") + "/", "a.txt"), dir.File("sub") + "/a.txt");
}

TEST(ReplacingFile, PutsThePiecesInPlaceOnlyWhenCommitted) {
    testing::TempDir dir;
    const std::string path = dir.File("result.txt");
    testing::WriteBytes(path, "old");
    const std::string big(size_t{5} << 20, 'x');  // past the buffer: written around it
    for (const bool commit : {false, true}) {
        {
            ReplacingFile file(path);
            file.Write("a");
            file.Write(big);
            file.Write("b");
            if (commit) file.Commit();
        }
        EXPECT_EQ(testing::ReadBytes(path), commit ? "a" + big + "b" : "old");
    }
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.File("."))) ++files;
    EXPECT_EQ(files, 1u);  // no temporary file left behind
}

}  // namespace
}  // namespace kavlo
