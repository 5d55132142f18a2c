#include "platform/file.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kavlo
