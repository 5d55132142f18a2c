#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "base/errors.h"
#include "folder/join_folder.h"
#include "folder/split_export.h"
#include "platform/file.h"
#include "objfile/load_object_file.h"
#include "support/reader_test.h"
#include "support/txt_writer.h"

namespace kavlo {
namespace {

using testing::TxtFile;

const std::string kBom = "\xEF\xBB\xBF";

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// An export of `count` objects in type and ID order, as a whole-database export holds them.
std::string GeneratedExport(int count, const std::string& lineEnd, bool utf8) {
    TxtFile f;
    f.objects = testing::RealisticTxtObjects(count, 7, 12);
    f.objects[1].name = utf8 ? "K\xC3\xB8" "benhavn \xC3\x86" : "K\x9B" "benhavn \x92";
    f.lineEnd = lineEnd;
    return (utf8 ? kBom : "") + testing::WriteTxt(f);
}

class SplitJoinTest : public testing::ReaderTest {
protected:
    // Writes the export and loads it.
    const TFob& LoadExport(const std::string& bytes, const std::string& name = "export.txt") {
        testing::WriteBytes(dir_.File(name), bytes);
        LoadObjectFile(fob_, 1, dir_.File(name), regional_.Get());
        return fob_;
    }
    // The names of the files in the split folder.
    std::set<std::string> Written() const {
        std::set<std::string> names;
        if (std::filesystem::exists(out_))
            for (const auto& e : std::filesystem::directory_iterator(out_)) names.insert(e.path().filename().string());
        return names;
    }
    std::string Written(const std::string& name) const { return ReadBytes(PathInFolder(out_, name)); }

    std::string out_ = dir_.File("objects");
};

// Under Wine every file created costs a round trip to its server: the Windows build splits
// fewer generated objects, the native build as many as a database has tables and pages.
#ifdef _WIN32
constexpr int kManyObjects = 300;
#else
constexpr int kManyObjects = 2000;
#endif

TEST_F(SplitJoinTest, SplitThenJoinGivesTheExportBackByteForByte) {
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"sample1.txt", ReadBytes(KAVLO_SAMPLES_DIR "/sample1.txt")},
        {"sample2.txt", ReadBytes(KAVLO_SAMPLES_DIR "/sample2.txt")},
        {"many objects, OEM, CR LF", GeneratedExport(kManyObjects, "\r\n", false)},
        {"many objects, UTF-8 with its mark, LF", GeneratedExport(kManyObjects, "\n", true)},
        {"UTF-8 with its mark, CR LF", GeneratedExport(30, "\r\n", true)},
        {"OEM, LF", GeneratedExport(30, "\n", false)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_GT(c.bytes.size(), 1000u);
        std::filesystem::remove_all(out_);
        const TFob& fob = LoadExport(c.bytes);
        EXPECT_EQ(SplitExport(fob, out_, {}), fob.Count());
        ASSERT_EQ(Written().size(), static_cast<size_t>(fob.Count()));
        // Each file holds its object; the byte-order mark on each when the export has it.
        const bool utf8 = c.bytes.starts_with(kBom);
        for (const std::string& name : Written()) EXPECT_EQ(Written(name).starts_with(kBom), utf8) << name;
        TFob folder;
        LoadObjectFile(folder, 1, out_, regional_.Get());
        EXPECT_TRUE(JoinedExport(folder) == c.bytes);
    }
}

// Windows takes TAB18.TXT and tab18.txt for one file: either spelling is a clash, named before
// anything is written; with Force it is replaced under its own spelling.
TEST_F(SplitJoinTest, AnExistingFileOfAnObjectsNameIsReplacedOnlyWithForce) {
    for (const std::string existing : {"TAB18.TXT", "tab18.txt"}) {
        for (const bool force : {false, true}) {
            SCOPED_TRACE(existing + (force ? " with force" : ""));
            std::filesystem::remove_all(out_);
            std::filesystem::create_directory(out_);
            testing::WriteBytes(PathInFolder(out_, existing), "old");
            const TFob& fob = LoadExport(testing::WriteTxt(testing::ThreeTxtObjects()));
            SplitOptions options;
            options.Force = force;
            if (!force) {
                try {
                    SplitExport(fob, out_, options);
                    ADD_FAILURE() << "no clash reported";
                } catch (const EFileExists& e) {
                    EXPECT_EQ(e.FileName(), PathInFolder(out_, existing));
                }
                EXPECT_EQ(Written(), std::set<std::string>{existing});
                EXPECT_EQ(Written(existing), "old");
            } else {
                EXPECT_EQ(SplitExport(fob, out_, options), 3);
                EXPECT_EQ(Written(), (std::set<std::string>{existing, "FOR21.TXT", "COD80.TXT"}));
                EXPECT_TRUE(Written(existing).starts_with("OBJECT Table 18 Customer"));
            }
        }
    }
}

TEST_F(SplitJoinTest, TypesAndFiltersChooseTheObjectsAsTheListDoes) {
    TxtFile f = testing::ThreeTxtObjects();
    f.objects.push_back(testing::SimpleTxtObject("Codeunit", 2000000001, "System"));
    const auto types = [](std::initializer_list<int> on) {
        TypeSwitches t{};
        for (int k : on) t[static_cast<size_t>(k)] = true;
        return t;
    };
    const auto filter = [](int column, const char* pattern) {
        FilterTexts texts;
        texts[static_cast<size_t>(column)] = pattern;
        return texts;
    };
    const struct {
        const char* what;
        SplitOptions options;
        std::set<std::string> files;
    } cases[] = {
        {"types Table and Codeunit", {false, types({1, 5}), false, {}}, {"TAB18.TXT", "COD80.TXT", "COD2000000001.TXT"}},
        {"system objects hidden", {false, kAllTypes, true, {}}, {"TAB18.TXT", "FOR21.TXT", "COD80.TXT"}},
        {"name pattern, case ignored", {false, kAllTypes, false, filter(3, "@cust*")}, {"TAB18.TXT", "FOR21.TXT"}},
        {"type filter normalised", {false, kAllTypes, false, filter(1, "cod")}, {"COD80.TXT", "COD2000000001.TXT"}},
        {"modified filter normalised", {false, kAllTypes, false, filter(8, "1")}, {"TAB18.TXT"}},
        {"nothing chosen", {false, types({}), false, {}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(out_);
        EXPECT_EQ(SplitExport(LoadExport(testing::WriteTxt(f)), out_, c.options), static_cast<int>(c.files.size()));
        EXPECT_EQ(Written(), c.files);
    }
}

// Only a text export holds each object's text apart; the message says which files split.
TEST_F(SplitJoinTest, OnlyTextExportsSplit) {
    const struct {
        std::string name;
        std::string kind;
    } cases[] = {{"a.xml", "an XML export"}, {"a.fob", "an object file"}, {"a.FBK", "a backup"},
                 {"a.doc", "no object file"}, {dir_.File(""), "a folder"}};
    for (const auto& c : cases) {
        try {
            CheckSplittable(c.name);
            ADD_FAILURE() << c.name << " accepted";
        } catch (const EKavloError& e) {
            EXPECT_EQ(e.what(), "Only text exports (.txt) split into object files; \"" + c.name + "\" is " + c.kind + ".");
        }
    }
    EXPECT_NO_THROW(CheckSplittable("A.TXT"));
}

// What the files could not hold, or could not tell apart, stops the split before it writes.
TEST_F(SplitJoinTest, AnExportThatWouldNotSplitWholeWritesNothing) {
    TxtFile twice = testing::ThreeTxtObjects();
    twice.objects.push_back(twice.objects[0]);
    const std::string three = testing::WriteTxt(testing::ThreeTxtObjects());
    std::string afterBrace = three;
    afterBrace.insert(afterBrace.find("OBJECT Form 21"), "Some notes\r\n\r\n");
    const struct {
        const char* what;
        std::string bytes;
        std::string error;  // after "Cannot split "<export>": "
    } cases[] = {
        {"an object twice", testing::WriteTxt(twice), "it holds Table 18 Customer twice."},
        {"text before the first object", "Exported objects\r\n\r\n" + three,
         "the text before its first object belongs to no object and would be lost."},
        {"text after an object's end", afterBrace,
         "the text after the end of Table 18 Customer belongs to no object and would be lost."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            SplitExport(LoadExport(c.bytes), out_, {});
            ADD_FAILURE() << "split";
        } catch (const EKavloError& e) {
            EXPECT_EQ(e.what(), "Cannot split \"" + dir_.File("export.txt") + "\": " + c.error);
        }
        EXPECT_FALSE(std::filesystem::exists(out_));
    }
}

// The output never replaces one of the files joined, nor lies where the next load of the folder
// would read it; text of a file outside its objects would be lost. Nothing is written then.
TEST_F(SplitJoinTest, JoinWritesNothingThatWouldLoseOrReplaceItsFiles) {
    const std::string tab18 = PathInFolder(out_, "TAB18.TXT");
    const struct {
        const char* what;
        std::string output;
        std::string error;  // after "Cannot join "<folder>": "
        std::function<void()> prepare = [] {};
    } cases[] = {
        {"onto one of its files", tab18, "the output \"" + tab18 + "\" is one of its files."},
        {"onto a link to one of its files", dir_.File("link.txt"), "the output \"" + dir_.File("link.txt") + "\" is one of its files.",
         [&] { std::filesystem::create_hard_link(tab18, dir_.File("link.txt")); }},
        {"into the folder", PathInFolder(out_, "joined.txt"),
         "the output \"" + PathInFolder(out_, "joined.txt") + "\" would lie in the folder, and be read as one of its files the next time."},
        {"text after an object's end", dir_.File("joined.txt"),
         "the text after the end of Table 18 Customer in \"" + tab18 + "\" belongs to no object and would be lost.",
         [&] { testing::WriteBytes(tab18, Written("TAB18.TXT") + "\r\nNotes\r\n"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(out_);
        std::filesystem::remove(dir_.File("link.txt"));
        SplitExport(LoadExport(testing::WriteTxt(testing::ThreeTxtObjects())), out_, {});
        c.prepare();
        const std::string before = Written("TAB18.TXT");
        TFob folder;
        LoadObjectFile(folder, 1, out_, regional_.Get());
        try {
            JoinFolder(folder, c.output);
            ADD_FAILURE() << "joined";
        } catch (const EKavloError& e) {
            EXPECT_EQ(e.what(), "Cannot join \"" + out_ + "\": " + c.error);
        }
        EXPECT_EQ(Written("TAB18.TXT"), before);
        EXPECT_FALSE(std::filesystem::exists(dir_.File("joined.txt")));
        EXPECT_EQ(Written().size(), 3u);
    }
}

}  // namespace
}  // namespace kavlo
