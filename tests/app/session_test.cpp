#include "app/session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/fob_writer.h"
#include "support/temp_dir.h"
#include "support/txt_writer.h"

namespace kavlo {
namespace {

using testing::FobFile;
using testing::FobObject;

// File 1 holds 30 objects; file 2 the same with one changed and one deleted; a damaged binary
// file and a file of a type no reader takes.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        FobFile a;
        a.objects = testing::RealisticObjects(30, 1);
        FobFile b = a;
        b.objects[3].version += ",KAV";
        b.objects.erase(b.objects.begin() + 10);
        testing::WriteBytes(file1_, testing::WriteFob(a));
        testing::WriteBytes(file2_, testing::WriteFob(b));
        std::string bytes = testing::WriteFob(FobFile{{FobObject{}}});
        bytes.resize(200);
        testing::WriteBytes(bad_, bytes);
        testing::WriteBytes(doc_, "x");
        // A folder of object files, one object a file, as source control keeps them.
        std::filesystem::create_directory(folder_);
        for (const testing::TxtObject& o : testing::RealisticTxtObjects(5, 7, 3))
            testing::WriteBytes(folder_ + "/" + o.type.substr(0, 3) + std::to_string(o.id) + ".TXT", testing::WriteTxt({{o}}));
    }

    // Runs `act` and returns the text of what it raises (nullopt when nothing).
    template <typename F>
    static std::optional<std::string> Raised(F&& act) {
        try {
            act();
        } catch (const std::exception& e) {
            return e.what();
        }
        return std::nullopt;
    }

    testing::TempDir dir_;
    const std::string file1_ = dir_.File("one.fob"), file2_ = dir_.File("two.fob");
    const std::string bad_ = dir_.File("bad.fob"), doc_ = dir_.File("notes.doc");
    const std::string missing_ = dir_.File("missing.fob");
    const std::string folder_ = dir_.File("objects");
};

TEST_F(SessionTest, TheCommandLineLoadsUpToTwoFiles) {
    const struct {
        std::vector<std::string> args;
        int count1, count2, dropped;
        bool raises;  // "Unsupported file type: .doc", after file 1 loaded
    } cases[] = {
        {{file1_, file2_}, 30, 29, 2, false},
        {{"/saveanalyze", file1_, "-SAVEANALYZE", file2_}, 30, 29, 2, false},
        {{file1_}, 30, 0, 1, false},
        {{missing_, file2_}, 0, 0, 0, false},  // no first file: nothing at all
        {{file1_, missing_}, 30, 0, 1, false},
        {{file1_, doc_}, 30, 0, 2, true},
        {{folder_}, 5, 0, 1, false},
        {{folder_, file1_}, 5, 30, 2, false},
        {{file1_, folder_}, 30, 5, 2, false},
    };
    for (const auto& c : cases) {
        TSession session;
        const std::optional<std::string> error = Raised([&] { session.Start(c.args); });
        EXPECT_EQ(error.has_value(), c.raises) << c.args.size() << " " << c.args.back();
        if (error) {
            EXPECT_EQ(*error, "Unsupported file type: .doc");
        }
        EXPECT_EQ(session.Fob(1).Count(), c.count1) << c.args.back();
        EXPECT_EQ(session.Fob(2).Count(), c.count2) << c.args.back();
        EXPECT_EQ(session.DroppedCount(), c.dropped) << c.args.back();
    }
    TSession session;
    session.Start({file1_, file2_});
    EXPECT_EQ(session.List().AddedRowCount(), 59);
    const StatusTexts status = {"59", file1_, file2_, "File 1: 30", "File 2: 29"};
    EXPECT_EQ(session.Built().Status, status);
}

// Two files are read side by side, but file 2 goes into its slot only after file 1 loaded; a
// failed file keeps in its slot what was read before the failure, and the list is not rebuilt.
TEST_F(SessionTest, TwoDroppedFilesLoadTogetherAndAFailureKeepsTheList) {
    TSession session;
    session.Start({file1_});
    ASSERT_EQ(session.List().AddedRowCount(), 30);
    const struct {
        std::string first, second;
        std::string error;  // how it starts
        std::string name1, name2;
    } cases[] = {
        {file1_, bad_, "Stream read error", file1_, bad_},
        {bad_, file2_, "Stream read error", bad_, bad_},
        {doc_, file2_, "Unsupported file type: .doc", bad_, bad_},
        {file1_, file2_, "", file1_, file2_},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(session.Drop({c.first, c.second}));
        const std::optional<std::string> error = Raised([&] { session.LoadDropped(); });
        if (c.error.empty()) {
            EXPECT_FALSE(error) << *error;
            EXPECT_EQ(session.List().AddedRowCount(), 59);
        } else {
            ASSERT_TRUE(error) << c.first << " " << c.second;
            // a damaged binary file fails a check or ends too early
            EXPECT_TRUE(error->starts_with(c.error) || error->starts_with("Assertion failure")) << *error;
            EXPECT_EQ(session.List().AddedRowCount(), 30);
        }
        EXPECT_EQ(session.Fob(1).FileName(), c.name1);
        EXPECT_EQ(session.Fob(2).FileName(), c.name2);
    }
}

TEST_F(SessionTest, OneDroppedFileGoesWhereTheUserSays) {
    std::optional<int> answer;  // nullopt: the question is cancelled
    int asked = 0;
    TSession::Hooks hooks;
    hooks.askFileNo = [&](int& fileNo) {
        ++asked;
        EXPECT_EQ(fileNo, 1);
        if (answer) fileNo = *answer;
        return answer.has_value();
    };
    TSession session(hooks);
    session.Start({});
    EXPECT_FALSE(session.Drop({file1_, file2_, file1_}));  // three: not taken
    answer = 2;
    ASSERT_TRUE(session.Drop({file1_}));
    session.LoadDropped();
    EXPECT_EQ(session.Fob(1).Count(), 0);
    EXPECT_EQ(session.Fob(2).Count(), 30);
    answer.reset();
    ASSERT_TRUE(session.Drop({file2_}));
    session.LoadDropped();
    EXPECT_EQ(session.Fob(1).Count(), 0);
    EXPECT_EQ(session.Fob(2).FileName(), file1_);
    EXPECT_EQ(asked, 2);
}

// A dropped folder goes where a dropped file would: alone to the slot the user chooses, with a
// file to the slot of its place in the drop.
TEST_F(SessionTest, ADroppedFolderLoadsAsAFileWould) {
    const struct {
        std::vector<std::string> dropped;
        int count1, count2;
        std::string name1, name2;
    } cases[] = {
        {{folder_}, 0, 5, "", folder_},  // the user answers 2
        {{folder_, file2_}, 5, 29, folder_, file2_},
        {{file1_, folder_}, 30, 5, file1_, folder_},
    };
    for (const auto& c : cases) {
        TSession::Hooks hooks;
        hooks.askFileNo = [](int& fileNo) { return fileNo = 2, true; };
        TSession session(hooks);
        session.Start({});
        ASSERT_TRUE(session.Drop(c.dropped));
        session.LoadDropped();
        EXPECT_EQ(session.Fob(1).Count(), c.count1) << c.dropped.size() << " " << c.dropped[0];
        EXPECT_EQ(session.Fob(2).Count(), c.count2) << c.dropped.size() << " " << c.dropped[0];
        EXPECT_EQ(session.Fob(1).FileName(), c.name1);
        EXPECT_EQ(session.Fob(2).FileName(), c.name2);
        EXPECT_EQ(session.List().AddedRowCount(), c.count1 + c.count2);
    }
}

// F5 reads both files again from disk and builds the list again in the mode it had; each load
// is a new load generation.
TEST_F(SessionTest, ReloadReadsTheFilesAgainAndKeepsTheMode) {
    TSession session;
    session.Start({file1_, file2_});
    session.BuildList(BuildMode::Deleted());
    ASSERT_EQ(session.List().AddedRowCount(), 1);
    const int generation = session.LoadGeneration();
    testing::WriteBytes(file2_, testing::WriteFob(FobFile{testing::RealisticObjects(30, 1)}));
    session.Reload();
    EXPECT_EQ(session.Built().LastMode, BuildMode::Deleted());
    EXPECT_EQ(session.List().AddedRowCount(), 0);
    EXPECT_EQ(session.Fob(2).Count(), 30);
    EXPECT_EQ(session.LoadGeneration(), generation + 2);
    session.Clear();
    EXPECT_EQ(session.Fob(1).Count() + session.Fob(2).Count(), 0);
    EXPECT_EQ(session.Built().LastMode, BuildMode::Off());
}

}  // namespace
}  // namespace kavlo
