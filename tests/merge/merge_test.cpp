#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "merge/merge.h"
#include "objfile/load_object_file.h"
#include "objfile/object_types.h"
#include "support/fixed_regional.h"
#include "support/fob_writer.h"
#include "support/temp_dir.h"
#include "support/txt_writer.h"

namespace kavlo {
namespace {

TEST(MergeVersionLists, KeepsTargetsTagsAtTheHigherVersionThenModifiedsOwn) {
    struct Case {
        const char *modified, *target, *expected;
    };
    const Case cases[] = {
        {"NAVW111.00.00.20348,NAVDK11.00.00.20348,CUST1.00", "NAVW111.00.00.20783,NAVDK11.00.00.20783",
         "NAVW111.00.00.20783,NAVDK11.00.00.20783,CUST1.00"},
        {"NAVW17.10", "NAVW17.00", "NAVW17.10"},
        {"A1.10", "A1.9", "A1.10"},        // part by part as numbers, not as text
        {"A1.0.1", "A1", "A1.0.1"},        // a missing part counts as 0
        {"B2,A2", "A1,B1", "A2,B2"},       // TARGET's order
        {"", "NAVW17.00", "NAVW17.00"},
        {"CUST1.00", "", "CUST1.00"},
    };
    for (const Case& c : cases) EXPECT_EQ(MergeVersionLists(c.modified, c.target), c.expected) << c.modified;
}

// A small object: properties from the arguments, code lines, and documentation lines.
std::vector<std::string> Object(const std::string& date, const std::string& version, bool modified,
                                std::vector<std::string> code = {}, std::vector<std::string> doc = {}) {
    std::vector<std::string> l = {"OBJECT Codeunit 80 Sales-Post", "{", "  OBJECT-PROPERTIES", "  {",
                                  "    Date=" + date + ";", "    Time=12:00:00;"};
    if (modified) l.push_back("    Modified=Yes;");
    l.insert(l.end(), {"    Version List=" + version + ";", "  }", "  PROPERTIES", "  {", "  }", "  CODE", "  {"});
    for (const std::string& c : code) l.push_back("    " + c);
    l.push_back("    BEGIN");
    for (const std::string& d : doc) l.push_back("      " + d);
    l.insert(l.end(), {"    END.", "  }", "}"});
    return l;
}

ObjectSide Side(std::vector<std::string> lines, double date = 0) {
    ObjectSide s;
    s.Present = true;
    s.Lines = std::move(lines);
    s.Date = date;
    return s;
}

TEST(MergeProperties, TakesEachPropertyByItsRule) {
    // MODIFIED: 02-02-20, modified, CUST1.00; TARGET: 01-01-20, not modified, [NAVW17.10].
    const ObjectSide m = Side(Object("02-02-20", "CUST1.00", true), 2);
    const ObjectSide t = Side(Object("01-01-20", "[NAVW17.10]", false), 1);
    const auto props = [](const ObjectSide& s) {
        SideProperties p;
        p.Block = ReadProperties(s.Lines, FindPropertyBlock(s.Lines));
        p.Date = s.Date;
        return p;
    };
    struct Case {
        PropertyRules rules;
        double modifiedDate;
        const char* expected;  // the property lines, trimmed, joined by |
    };
    const Case cases[] = {
        {{}, 2, "Date=02-02-20;|Time=12:00:00;|Modified=Yes;|Version List=[NAVW17.10,CUST1.00];"},
        {{}, 1, "Date=01-01-20;|Time=12:00:00;|Modified=Yes;|Version List=[NAVW17.10,CUST1.00];"},
        {{DateTimeRule::Target, ModifiedRule::Target, VersionRule::Target}, 2,
         "Date=01-01-20;|Time=12:00:00;|Version List=[NAVW17.10];"},
        {{DateTimeRule::Modified, ModifiedRule::Modified, VersionRule::Modified}, 0,
         "Date=02-02-20;|Time=12:00:00;|Modified=Yes;|Version List=[CUST1.00];"},
        {{DateTimeRule::Now, ModifiedRule::Clear, VersionRule::Merge}, 2,
         "Date=10-12-26;|Time=09:30:00;|Version List=[NAVW17.10,CUST1.00];"},
    };
    for (const Case& c : cases) {
        SideProperties mp = props(m);
        mp.Date = c.modifiedDate;
        const std::vector<std::string> block = MergeProperties(mp, props(t), c.rules, "10-12-26", "09:30:00");
        std::string got;
        for (size_t k = 2; k + 1 < block.size(); ++k) got += (k > 2 ? "|" : "") + std::string(TrimBlanks(block[k]));
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(block.front(), "  OBJECT-PROPERTIES");
    }
}

TEST(MergeObject, GivesEachCombinationOfChangesItsStatus) {
    using Take = ObjectMerge::Take;
    const ObjectSide none;
    const ObjectSide base = Side(Object("01-01-20", "V1", false, {"a;", "b;", "c;"}));
    const ObjectSide codeA = Side(Object("01-01-20", "V1", false, {"A;", "b;", "c;"}));
    const ObjectSide codeC = Side(Object("01-01-20", "V1", false, {"a;", "b;", "C;"}));
    const ObjectSide codeX = Side(Object("01-01-20", "V1", false, {"X;", "b;", "c;"}));
    const ObjectSide version = Side(Object("01-01-20", "V2", false, {"a;", "b;", "c;"}));
    struct Case {
        const char* name;
        const ObjectSide &o, &m, &t;
        MergeStatus status;
        Take take;
        int conflicts;
    };
    const Case cases[] = {
        {"unchanged", base, base, base, MergeStatus::Unchanged, Take::Target, 0},
        {"target changed", base, base, codeA, MergeStatus::Target, Take::Target, 0},
        {"target added", none, none, codeA, MergeStatus::Target, Take::Target, 0},
        {"target deleted", base, base, none, MergeStatus::Target, Take::None, 0},
        {"modified changed", base, codeA, base, MergeStatus::Modified, Take::Modified, 0},
        {"modified changed its properties only", base, version, base, MergeStatus::Modified, Take::Modified, 0},
        {"inserted", none, codeA, none, MergeStatus::Inserted, Take::Modified, 0},
        {"deleted", base, none, base, MergeStatus::Deleted, Take::None, 0},
        {"both alike", base, codeA, codeA, MergeStatus::Both, Take::Target, 0},
        {"both deleted", base, none, none, MergeStatus::Both, Take::None, 0},
        {"both added alike", none, codeA, codeA, MergeStatus::Both, Take::Target, 0},
        {"merged", base, codeA, codeC, MergeStatus::Merged, Take::Merged, 0},
        {"merged with properties", base, version, codeC, MergeStatus::Merged, Take::Merged, 0},
        {"overlapping", base, codeA, codeX, MergeStatus::Conflict, Take::Merged, 1},
        {"deleted, changed", base, none, codeA, MergeStatus::Conflict, Take::Target, 1},
        {"changed, deleted", base, codeA, none, MergeStatus::Conflict, Take::Modified, 1},
        {"added differently", none, codeA, codeX, MergeStatus::Conflict, Take::Merged, 1},
    };
    for (const Case& c : cases) {
        const ObjectMerge r = MergeObject(c.o, c.m, c.t, MergeOptions{});
        EXPECT_EQ(MergeStatusName(r.Status), MergeStatusName(c.status)) << c.name;
        EXPECT_EQ(static_cast<int>(r.Result), static_cast<int>(c.take)) << c.name;
        EXPECT_EQ(r.Conflicts, c.conflicts) << c.name;
    }
}

TEST(MergeObject, PutsMergedPropertiesAndConflictBlocksIntoTheContent) {
    const ObjectSide o = Side(Object("01-01-20", "NAVW17.00", false, {"a;", "b;", "c;"}), 1);
    const ObjectSide m = Side(Object("03-01-20", "NAVW17.00,CUST1.00", true, {"a;", "b;", "M;"}), 3);
    const ObjectSide t = Side(Object("02-01-20", "NAVW17.10", false, {"T;", "b;", "c;"}), 2);
    ObjectMerge r = MergeObject(o, m, t, MergeOptions{});
    EXPECT_EQ(r.Status, MergeStatus::Merged);
    EXPECT_EQ(r.Lines, Object("03-01-20", "NAVW17.10,CUST1.00", true, {"T;", "b;", "M;"}));

    const ObjectSide x = Side(Object("02-01-20", "NAVW17.10", false, {"a;", "b;", "X;"}), 2);
    r = MergeObject(o, m, x, MergeOptions{});
    EXPECT_EQ(r.Status, MergeStatus::Conflict);
    std::vector<std::string> expected = Object("03-01-20", "NAVW17.10,CUST1.00", true, {"a;", "b;", "@"});
    const auto at = std::find(expected.begin(), expected.end(), "    @");
    const std::vector<std::string> block = {"<<<<<<< MODIFIED", "    M;", "||||||| ORIGINAL", "    c;",
                                            "=======",          "    X;", ">>>>>>> TARGET"};
    expected.insert(expected.erase(at), block.begin(), block.end());
    EXPECT_EQ(r.Lines, expected);
}

TEST(MergeObject, KeepsBothSidesDocumentationLinesInTheOrderAsked) {
    const ObjectSide o = Side(Object("01-01-20", "V1", false, {"a;"}, {"#1 old"}));
    const ObjectSide m = Side(Object("01-01-20", "V1", false, {"a;"}, {"#1 old", "#2 mine"}));
    const ObjectSide t = Side(Object("01-01-20", "V1", false, {"b;"}, {"#1 old", "#3 update"}));
    struct Case {
        DocumentationRule rule;
        MergeStatus status;
        std::vector<std::string> doc;
    };
    const Case cases[] = {
        {DocumentationRule::ModifiedFirst, MergeStatus::Merged, {"#1 old", "#2 mine", "#3 update"}},
        {DocumentationRule::TargetFirst, MergeStatus::Merged, {"#1 old", "#3 update", "#2 mine"}},
        {DocumentationRule::Conflict, MergeStatus::Conflict,
         {"#1 old", "<<<<<<< MODIFIED", "#2 mine", "||||||| ORIGINAL", "=======", "#3 update", ">>>>>>> TARGET"}},
    };
    for (const Case& c : cases) {
        MergeOptions options;
        options.Documentation = c.rule;
        const ObjectMerge r = MergeObject(o, m, t, options);
        EXPECT_EQ(r.Status, c.status);
        std::vector<std::string> expected = Object("01-01-20", "V1", false, {"b;"}, {});
        const auto end = std::find(expected.begin(), expected.end(), "    END.");
        std::vector<std::string> doc;
        for (const std::string& d : c.doc) doc.push_back(d.starts_with("<<<") || d.starts_with("|||") ||
                                                                 d.starts_with("===") || d.starts_with(">>>")
                                                             ? d
                                                             : "      " + d);
        expected.insert(end, doc.begin(), doc.end());
        EXPECT_EQ(r.Lines, expected) << static_cast<int>(c.rule);
    }
}

// RESULT gathered in memory, as kavlo writes it into a file.
struct StringSink final : MergeSink {
    std::string out, lineEnd;
    void Begin(std::string_view le, bool bom) override {
        lineEnd = le;
        if (bom) out += "\xEF\xBB\xBF";
    }
    void Object(int, int, std::string_view text) override {
        out += text;
        out += lineEnd;
    }
};

class MergeFilesTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir_.File(name);
        testing::WriteBytes(path, bytes);
        return path;
    }
    MergeReport Merge(const std::string& o, const std::string& m, const std::string& t, std::string& result) {
        TFob fobs[3];
        const std::string names[3] = {o, m, t};
        for (int k = 0; k < 3; ++k) LoadObjectFile(fobs[k], k + 1, names[k], regional_.Get());
        StringSink sink;
        MergeReport r = MergeFiles(fobs[0], fobs[1], fobs[2], MergeOptions{}, sink);
        result = sink.out;
        return r;
    }
    testing::TempDir dir_;
    testing::FixedRegional regional_;
};

// Generated exports in type and ID order, each object once.
std::vector<testing::TxtObject> Generated(int count, uint32_t seed) {
    std::vector<testing::TxtObject> objects = testing::RealisticTxtObjects(count, seed, 14);
    const auto key = [](const testing::TxtObject& o) { return std::make_pair(FobTypeIndex(o.type), o.id); };
    std::sort(objects.begin(), objects.end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
    objects.erase(std::unique(objects.begin(), objects.end(), [&](const auto& a, const auto& b) { return key(a) == key(b); }),
                  objects.end());
    return objects;
}

TEST_F(MergeFilesTest, OneSideUnchangedGivesTargetByteForByteAndReportsEveryObjectOnce) {
    struct Case {
        const char* lineEnd;
        bool bom;
    };
    for (const Case c : {Case{"\r\n", false}, Case{"\n", true}}) {
        testing::TxtFile original, target;
        original.lineEnd = target.lineEnd = c.lineEnd;
        original.objects = Generated(300, 7);
        // The update changes code, dates and version lists, deletes and adds objects.
        for (size_t i = 0; i < original.objects.size(); ++i) {
            testing::TxtObject o = original.objects[i];
            if (i % 7 == 1) continue;
            if (i % 5 == 2) o.code.push_back("MESSAGE('update');");
            if (i % 6 == 3) o.version += ",NAVW17.10";
            if (i % 9 == 4) o.date = "01-01-21";
            target.objects.push_back(o);
            if (i % 11 == 5) {
                testing::TxtObject added = o;
                added.id = o.id + 1000000;
                target.objects.push_back(added);
            }
        }
        std::sort(target.objects.begin(), target.objects.end(), [](const auto& a, const auto& b) {
            return std::make_pair(FobTypeIndex(a.type), a.id) < std::make_pair(FobTypeIndex(b.type), b.id);
        });
        const std::string bom = c.bom ? "\xEF\xBB\xBF" : "";
        const std::string o = Write("o.txt", bom + testing::WriteTxt(original));
        const std::string t = Write("t.txt", bom + testing::WriteTxt(target));
        std::string result;
        MergeReport r = Merge(o, o, t, result);
        EXPECT_EQ(result, testing::ReadBytes(t));
        r = Merge(o, t, o, result);
        EXPECT_EQ(result, testing::ReadBytes(t));
        std::set<std::pair<int, int>> keys;
        for (const MergeEntry& e : r.Objects) EXPECT_TRUE(keys.insert({e.Type, e.Id}).second) << e.Id;
        for (const auto* f : {&original, &target})
            for (const testing::TxtObject& x : f->objects) EXPECT_EQ(keys.count({FobTypeIndex(x.type), x.id}), 1u);
        EXPECT_EQ(r.Objects.size(), keys.size());
        EXPECT_EQ(r.Conflicts(), 0);
        EXPECT_GT(r.Counts[static_cast<size_t>(MergeStatus::Deleted)], 0);
        EXPECT_GT(r.Counts[static_cast<size_t>(MergeStatus::Inserted)], 0);
    }
}

TEST_F(MergeFilesTest, ConvertsASideOfAnotherEncodingIntoTargets) {
    // MODIFIED is a UTF-8 export with LF; ORIGINAL and TARGET are OEM 850 with CR LF.
    testing::TxtFile original = testing::ThreeTxtObjects();
    testing::TxtFile modified = original;
    modified.lineEnd = "\n";
    modified.objects[2].name = "Salg \xC3\x86 \xC3\xB8";  // "Salg Æ ø" in UTF-8
    original.objects[1].code = {"// ORIGINAL"};
    modified.objects[1].code = {"// ORIGINAL"};
    testing::TxtFile target = original;
    target.objects[0].code = {"// update"};
    testing::TxtFile expected = target;
    expected.objects[2].name = "Salg \x92 \x9B";  // the same in code page 850
    const std::string o = Write("o.txt", testing::WriteTxt(original));
    const std::string m = Write("m.txt", "\xEF\xBB\xBF" + testing::WriteTxt(modified));
    const std::string t = Write("t.txt", testing::WriteTxt(target));
    std::string result;
    const MergeReport r = Merge(o, m, t, result);
    EXPECT_EQ(result, testing::WriteTxt(expected));
    ASSERT_EQ(r.Objects.size(), 3u);
    EXPECT_EQ(r.Objects[0].Status, MergeStatus::Target);
    EXPECT_EQ(r.Objects[1].Status, MergeStatus::Unchanged);
    EXPECT_EQ(r.Objects[2].Status, MergeStatus::Modified);
}

}  // namespace
}  // namespace kavlo
