#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/merge_document.h"
#include "base/errors.h"
#include "objfile/object_types.h"
#include "support/fixed_regional.h"
#include "support/merge_inputs.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

class MergeDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { in_ = testing::WriteMergeInputs(dir_.Path().string()); }
    MergePaths Paths() const { return {in_.original, in_.modified, in_.target, dir_.File("result.txt")}; }
    // "Table 18 conflict 1|…" of the rows.
    static std::string Texts(const std::vector<MergeEntry>& rows) {
        std::string out;
        for (const MergeEntry& e : rows)
            out += (out.empty() ? "" : "|") + std::string(ObjectTypeNames[static_cast<size_t>(e.Type)]) + " " +
                   std::to_string(e.Id) + " " + std::string(MergeStatusName(e.Status)) + " " +
                   std::to_string(e.Conflicts);
        return out;
    }
    testing::TempDir dir_;
    testing::FixedRegional regional_;
    testing::MergeInputs in_;
};

TEST_F(MergeDocumentTest, ListsTheChangedObjectsConflictsFirstFilteredByStatus) {
    TMergeDocument doc;
    doc.Run(Paths(), regional_.Get());
    EXPECT_TRUE(std::filesystem::exists(dir_.File("result.txt")));
    const struct {
        std::optional<MergeStatus> status;
        const char* rows;
    } cases[] = {
        {std::nullopt,
         "Table 18 conflict 1|Codeunit 80 conflict 1|Form 21 merged 0|Report 111 inserted 0|Codeunit 90 target 0"},
        {MergeStatus::Conflict, "Table 18 conflict 1|Codeunit 80 conflict 1"},
        {MergeStatus::Merged, "Form 21 merged 0"},
        {MergeStatus::Both, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Texts(doc.Rows(c.status)), c.rows);
    EXPECT_EQ(doc.CountsText(), "2 conflicts, 1 merged, 1 inserted, 1 target");
    EXPECT_EQ(doc.RowStatuses(), (std::vector<MergeStatus>{MergeStatus::Conflict, MergeStatus::Merged,
                                                           MergeStatus::Inserted, MergeStatus::Target}));
    const TVisibleList conflicts = doc.ConflictList();
    ASSERT_EQ(conflicts.AddedRowCount(), 2);
    for (int row = 1; row <= 2; ++row)
        EXPECT_EQ(std::string(conflicts.Cell(row, ColumnFile)) + " " + std::string(conflicts.Cell(row, ColumnType)) +
                      " " + std::string(conflicts.Cell(row, ColumnID)) + " " +
                      std::string(conflicts.Cell(row, ColumnName)),
                  row == 1 ? "3 Table 18 Customer" : "3 Codeunit 80 Sales-Post");
}

TEST_F(MergeDocumentTest, AFailedRunSaysWhyAndWritesNothing) {
    const std::string xml = dir_.File("a.xml");
    testing::WriteBytes(xml, "<Objects/>");
    const struct {
        void (*change)(MergePaths&, const std::string& xml);
        const char* error;  // the start of the message
    } cases[] = {
        {[](MergePaths& p, const std::string&) { p.Modified.clear(); }, "Choose the Modified file or folder"},
        {[](MergePaths& p, const std::string& x) { p.Target = x; }, "an XML export; merge takes text exports"},
        {[](MergePaths& p, const std::string&) { p.Original += ".none.txt"; }, "Cannot open file"},
        {[](MergePaths& p, const std::string&) { p.Result = p.Modified; }, "The result "},
    };
    const auto modifiedSize = std::filesystem::file_size(in_.modified);
    for (const auto& c : cases) {
        MergePaths paths = Paths();
        c.change(paths, xml);
        TMergeDocument doc;
        try {
            doc.Run(paths, regional_.Get());
            ADD_FAILURE() << c.error;
        } catch (const EKavloError& e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
        }
        EXPECT_FALSE(std::filesystem::exists(dir_.File("result.txt"))) << c.error;
    }
    // The input named as RESULT is as it was.
    EXPECT_EQ(std::filesystem::file_size(in_.modified), modifiedSize);
}

}  // namespace
}  // namespace kavlo
