#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "objfile/load_object_file.h"
#include "objfile/object_content.h"
#include "objfile/object_types.h"
#include "platform/file.h"
#include "support/reader_test.h"
#include "support/txt_writer.h"

namespace kavlo {
namespace {

using testing::TxtFile;
using Files = std::vector<std::pair<std::string, std::string>>;  // name in the folder, bytes

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string OneObject(const std::string& type, int id, const std::string& lineEnd = "\r\n") {
    TxtFile f;
    f.objects = {testing::SimpleTxtObject(type, id, "Object " + std::to_string(id))};
    f.lineEnd = lineEnd;
    return testing::WriteTxt(f);
}

class FolderLoad : public testing::ReaderTest {
protected:
    // Writes the files into a new folder of that name and returns its path.
    std::string Folder(const std::string& name, const Files& files) {
        const std::string folder = dir_.File(name);
        std::filesystem::create_directories(folder);
        for (const auto& [file, bytes] : files) {
            std::filesystem::create_directories(std::filesystem::path(folder + "/" + file).parent_path());
            testing::WriteBytes(folder + "/" + file, bytes);
        }
        return folder;
    }
    // Loads the path as file 1; the error's text, "" when none.
    std::string Load(TFob& fob, const std::string& path, LoadOptions options = {}) { return LoadPath(fob, path, 1, options); }
    // The export split by its objects' exact texts: `perFile` objects a file, the objects of a
    // file taken from all over the export (the export's objects k, k + n/perFile, ...), the
    // file names alternating between .TXT and .txt.
    Files Split(const TFob& exported, size_t perFile, bool utf8) {
        TContentReader reader(exported);
        const size_t count = static_cast<size_t>(exported.Count());
        const size_t fileCount = (count + perFile - 1) / perFile;
        Files files(fileCount);
        for (size_t i = 0; i < count; ++i) {
            std::pair<std::string, std::string>& f = files[i % fileCount];
            if (f.first.empty()) {
                const TFobRec& r = exported.Fob(static_cast<int>(i));
                f.first = ObjectFileName(r.ObjType, r.ID);
                if (i % 2) f.first.replace(f.first.size() - 3, 3, "txt");
                if (utf8) f.second = kUtf8Mark;
            }
            f.second += reader.ReadText(static_cast<int>(i));
        }
        return files;
    }
    TFob exported_;
};

TEST_F(FolderLoad, AFolderListsExactlyAsTheExportItWasSplitFrom) {
    struct Case {
        bool utf8;
        std::string lineEnd;
        size_t perFile;
    };
    for (const Case& c : {Case{false, "\r\n", 1}, Case{false, "\n", 1}, Case{true, "\r\n", 1}, Case{true, "\n", 3}}) {
        SCOPED_TRACE(::testing::Message() << "utf8 " << c.utf8 << ", LF " << (c.lineEnd == "\n") << ", " << c.perFile);
        TxtFile f;
        f.objects = testing::RealisticTxtObjects(60, 7, 4);
        // As a whole-database export holds them: in type and ID order, each object once.
        const auto key = [](const testing::TxtObject& o) { return std::pair(FobTypeIndex(o.type), o.id); };
        std::stable_sort(f.objects.begin(), f.objects.end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
        f.objects.erase(std::unique(f.objects.begin(), f.objects.end(), [&](const auto& a, const auto& b) { return key(a) == key(b); }),
                        f.objects.end());
        f.lineEnd = c.lineEnd;
        const std::string exportPath = dir_.File("export.txt");
        testing::WriteBytes(exportPath, (c.utf8 ? std::string(kUtf8Mark) : "") + testing::WriteTxt(f));
        ASSERT_EQ(Load(exported_, exportPath), "");
        const Files files = Split(exported_, c.perFile, c.utf8);
        std::filesystem::remove_all(dir_.File("split"));
        const std::string folder = Folder("split", files);

        ASSERT_EQ(Load(fob_, folder), "");
        ASSERT_EQ(fob_.Count(), exported_.Count());
        for (int i = 0; i < fob_.Count(); ++i) {
            for (int col = 0; col < 10; ++col)
                EXPECT_EQ(GetFobString(fob_.Fob(i), col), GetFobString(exported_.Fob(i), col)) << i << ":" << col;
            EXPECT_EQ(fob_.Fob(i).Date, exported_.Fob(i).Date);
            EXPECT_EQ(fob_.Fob(i).Time, exported_.Fob(i).Time);
        }
        EXPECT_EQ(fob_.FileName(), folder);
        EXPECT_EQ(fob_.FileExt(), ".txt");
        EXPECT_EQ(ContentKindOf(fob_), ContentKind::Text);
        const ContentSpans& content = fob_.Content();
        EXPECT_EQ(content.Utf8, c.utf8);
        EXPECT_EQ(content.LineEnd, c.lineEnd);
        EXPECT_EQ(content.CodePage, 850);
        ASSERT_EQ(content.Sources.size(), files.size());
        // Each object read back from its own file: the export's bytes.
        TContentReader folderText(fob_), exportText(exported_);
        for (int i = 0; i < fob_.Count(); ++i) EXPECT_EQ(folderText.ReadText(i), exportText.ReadText(i)) << i;
        EXPECT_NO_THROW(folderText.CheckUnchanged());
        if (c.perFile == 1) {
            for (int i = 0; i < fob_.Count(); ++i) {
                const std::string name = content.Sources[content.Spans[static_cast<size_t>(i)].Source].Name;
                EXPECT_EQ(LowerAscii(name), LowerAscii(PathInFolder(folder, ObjectFileName(fob_.Fob(i).ObjType, fob_.Fob(i).ID))));
            }
        }
    }
}

TEST_F(FolderLoad, AFaultyFolderIsAClearErrorThatLoadsNothing) {
    std::string braceMoved = OneObject("Codeunit", 80);
    braceMoved.replace(braceMoved.find("  {\r\n    Date"), 3, " {");
    const struct {
        const char* what;
        Files files;
        std::string error;  // @ stands for the folder's path, "@/" for its path and separator
        std::string fault = {};  // a file's failed check, as Fault(code, offset in that file)
    } cases[] = {
        {"a file without an object", {{"TAB18.TXT", OneObject("Table", 18)}, {"NOTES.TXT", "To do:\r\nmerge\r\n"}},
         "The file \"@/NOTES.TXT\" holds no object"},
        {"one object in two files",
         {{"A.TXT", OneObject("Table", 18)}, {"B.TXT", OneObject("Codeunit", 80) + OneObject("Table", 18)}},
         "Table 18 is in two files: \"@/A.TXT\" and \"@/B.TXT\""},
        {"a file with the UTF-8 mark among files without",
         {{"A.TXT", std::string(kUtf8Mark) + OneObject("Table", 18)}, {"B.TXT", OneObject("Table", 27)},
          {"C.TXT", OneObject("Table", 36)}},
         "The file \"@/A.TXT\" starts with the UTF-8 byte-order mark and \"@/B.TXT\" does not: the files of a "
         "folder must share one encoding"},
        {"a file with other line ends",
         {{"A.TXT", OneObject("Table", 18)}, {"B.TXT", OneObject("Table", 27)}, {"C.TXT", OneObject("Table", 36, "\n")}},
         "The file \"@/C.TXT\" ends its lines in LF and \"@/A.TXT\" in CR LF: the files of a folder must share one "
         "line end"},
        {"a file that the reader refuses", {{"A.TXT", OneObject("Table", 18)}, {"B.TXT", braceMoved}},
         "@/B.TXT: " + ReadErrorText(ReadErrorCode::PropertyBrace, 0, 0),
         Fault(ReadErrorCode::PropertyBrace, braceMoved.find(" {\r\n    Date") + 2)},
        {"other files", {{"TAB18.TXT", OneObject("Table", 18)}, {"readme.md", "#"}, {"COD80.fob", ""}},
         "The folder \"@\" holds files that are no object files (*.txt): COD80.fob, readme.md"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string folder = Folder("f" + std::to_string(n++), c.files);
        std::string want = c.error;
        for (size_t at; (at = want.find("@/")) != std::string::npos;) want.replace(at, 2, PathInFolder(folder, ""));
        for (size_t at; (at = want.find('@')) != std::string::npos;) want.replace(at, 1, folder);
        EXPECT_EQ(Load(fob_, folder), want) << c.what;
        EXPECT_EQ(Fault(), c.fault) << c.what;
        EXPECT_EQ(fob_.Count(), 0) << c.what;
        EXPECT_EQ(fob_.FileName(), folder) << c.what;
    }
}

TEST_F(FolderLoad, OtherFilesAreNamedOrPassedOverAndSubfoldersAlwaysPassedOver) {
    const std::string folder = Folder("objects", {{"TAB18.TXT", OneObject("Table", 18)}, {".gitattributes", "*.TXT -text"},
                                                  {"sub/COD80.TXT", OneObject("Codeunit", 80)}});
    try {
        LoadObjectFile(fob_, 1, folder, regional_.Get());
        ADD_FAILURE() << "no error";
    } catch (const EOtherFilesError& e) {
        EXPECT_EQ(e.FileNames(), std::vector<std::string>{".gitattributes"});
    }
    ASSERT_EQ(Load(fob_, folder, LoadOptions{.IgnoreOtherFiles = true}), "");
    ASSERT_EQ(fob_.Count(), 1);
    EXPECT_EQ(fob_.Fob(0).ID, 18);

    EXPECT_EQ(Load(fob_, Folder("empty", {})), "");
    EXPECT_EQ(fob_.Count(), 0);
    EXPECT_EQ(fob_.FileExt(), ".txt");
}

TEST_F(FolderLoad, ContentsCompareWithTheExportAndAChangedFileIsNamed) {
    TxtFile f = testing::ThreeTxtObjects();
    testing::WriteBytes(dir_.File("export.txt"), testing::WriteTxt(f));
    ASSERT_EQ(Load(exported_, dir_.File("export.txt")), "");
    const Files files = Split(exported_, 1, false);
    ASSERT_EQ(Load(fob_, Folder("same", files)), "");
    Files changed = files;
    changed[1].second.replace(changed[1].second.find("BEGIN"), 5, "BEGIN MESSAGE('Hi');");
    TFob other;
    const std::string changedFolder = Folder("changed", changed);
    ASSERT_EQ(Load(other, changedFolder), "");
    {
        TContentReader a(fob_), b(exported_), c(other);
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(ContentsEqual(a, i, b, i)) << i;
            EXPECT_EQ(ContentsEqual(a, i, c, i), i != 1) << i;
        }
    }
    // Written to after loading: before its object is read, or after.
    const std::string cardFile = PathInFolder(changedFolder, changed[1].first);
    for (const bool readFirst : {false, true}) {
        ASSERT_EQ(Load(other, changedFolder), "");
        TContentReader reader(other);
        if (readFirst) reader.Read(1);
        testing::WriteBytes(cardFile, changed[1].second + "\r\n");
        try {
            if (!readFirst) reader.Read(1);
            reader.Read(0);
            reader.CheckUnchanged();
            ADD_FAILURE() << "no error, read first " << readFirst;
        } catch (const EKavloError& e) {
            EXPECT_EQ(std::string(e.what()), FileChangedText(cardFile)) << readFirst;
        }
        testing::WriteBytes(cardFile, changed[1].second);
    }
}

}  // namespace
}  // namespace kavlo
