#include "output/text_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/errors.h"
#include "support/temp_dir.h"
#include "support/progress_recorder.h"

namespace kavlo {
namespace {

using testing::TempDir;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

FormatSettings DashDates() {
    FormatSettings fs;
    fs.shortDateFormat = "dd-MM-yy";
    fs.dateSeparator = '-';
    return fs;
}

TEST(TextList, LinesAreQuotedCellsWithTheDateAsYearMonthDay) {
    TVisibleList list;
    list.AddCommaText(R"("1","Table","18","Say ""hi"", then","A,B","17-02-04","12:00:00","77","1"," ")");
    list.AddCommaText(R"("","Table","19","skipped","","","","0"," "," ")");
    list.AddCommaText(R"("2","TableData","18","Customer","Main","","","0"," "," ")");
    list.AddCommaText(R"("2","Page","21","P","","31-02-04","","0"," ","1")");
    testing::ProgressRecorder progress;
    const std::string text = ListAsText(list, DashDates(), &progress);
    EXPECT_EQ(text,
              "\"1\",\"Table\",\"18\",\"Say \"hi\", then\",\"A,B\",\"2004-02-17\",\"12:00:00\",\"77\",\"1\",\" \"\r\n"
              "\"2\",\"TableData\",\"18\",\"Customer\",\"Main\",\"\",\"\",\"0\",\" \",\" \"\r\n"
              // 31 February is no date and stays as it is.
              "\"2\",\"Page\",\"21\",\"P\",\"\",\"31-02-04\",\"\",\"0\",\" \",\"1\"\r\n");
    // Every data row is reported, the one left out as well.
    EXPECT_EQ(progress.rows, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(text.find("BLOB Size"), std::string::npos);
}

TEST(TextList, DateRewriteUsesTheLocaleOrderAndSeparator) {
    FormatSettings fs;
    fs.shortDateFormat = "M/d/yyyy";
    fs.dateSeparator = '/';
    EXPECT_EQ(DateCellAsYmd("2/17/2004", fs), "2004/02/17");
    EXPECT_EQ(DateCellAsYmd("17/2/2004", fs), "17/2/2004");
    EXPECT_EQ(DateCellAsYmd("", fs), "");
    fs.shortDateFormat = "dd.MM.yy";
    fs.dateSeparator = '.';
    EXPECT_EQ(DateCellAsYmd("01.12.49", fs), "2049.12.01");
    EXPECT_EQ(DateCellAsYmd("01.12.50", fs), "1950.12.01");
    EXPECT_EQ(DateCellAsYmd("01-12-50", fs), "01-12-50");
}

TEST(TextList, SaveWritesTheWholeFileAndEmptyListsGiveZeroBytes) {
    TempDir dir;
    TVisibleList list;
    list.AddCommaText("\"1\",\"Codeunit\",\"80\",\"Sales-Post \xE6\",\"\",\"\",\"\",\"5\",\"1\",\"1\"");
    const std::string path = dir.File("objects.txt");
    {
        std::ofstream old(path, std::ios::binary);
        old << "an older and much longer file that must be replaced as a whole";
    }
    SaveListAsText(list, path, DashDates());
    EXPECT_EQ(ReadBytes(path), "\"1\",\"Codeunit\",\"80\",\"Sales-Post \xE6\",\"\",\"\",\"\",\"5\",\"1\",\"1\"\r\n");

    TVisibleList empty;
    testing::ProgressRecorder progress;
    SaveListAsText(empty, path, DashDates(), &progress);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_EQ(progress.rows, std::vector<int>{1});
    EXPECT_FALSE(empty.HasRows());
    EXPECT_EQ(kNoRowsInList, "No rows in list.");
}

TEST(TextList, NothingIsWrittenWhenBuildingTheLinesFails) {
    TempDir dir;
    TVisibleList list;
    for (int i = 0; i < 3; ++i) list.AddCommaText(R"("1","Table","18")");
    const std::string path = dir.File("never.txt");
    testing::ProgressRecorder progress;
    progress.throwAt = 3;
    EXPECT_THROW(SaveListAsText(list, path, DashDates(), &progress), EKavloError);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(TextList, AFileThatCannotBeCreatedRaisesTheCreateError) {
    TempDir dir;
    TVisibleList list;
    list.AddCommaText(R"("1","Table","18")");
    const std::string path = dir.File("missing-folder/list.txt");
    try {
        SaveListAsText(list, path, DashDates());
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("Cannot create file \"" + path + "\". ")) << e.what();
    }
}

TEST(SaveName, AppendsTxtUnlessItIsThere) {
    EXPECT_EQ(WithTxtExtension("objects"), "objects.txt");
    EXPECT_EQ(WithTxtExtension("objects.TXT"), "objects.TXT");
    EXPECT_EQ(WithTxtExtension("list.csv"), "list.csv.txt");
    EXPECT_EQ(WithTxtExtension("C:\\a.txt\\objects"), "C:\\a.txt\\objects.txt");
}

}  // namespace
}  // namespace kavlo
