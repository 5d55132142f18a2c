// The three-way merge of text exports: ORIGINAL (what a solution started from), MODIFIED (the
// solution) and TARGET (the update's objects) give RESULT, the solution on the update. Objects
// are matched by type and ID; each gets one status and its text in RESULT.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "merge/diff3.h"
#include "merge/properties.h"
#include "objfile/fob.h"

namespace kavlo {

enum class MergeStatus { Unchanged, Target, Modified, Inserted, Deleted, Both, Merged, Conflict };
inline constexpr int kMergeStatusCount = 8;
// "unchanged", "target", "modified", "inserted", "deleted", "both", "merged", "conflict".
std::string_view MergeStatusName(MergeStatus status);

// Where both sides added lines at the same place of the documentation trigger (the BEGIN …
// END. block that closes the object's CODE): a conflict, or both sides' lines in this order.
enum class DocumentationRule { Conflict, ModifiedFirst, TargetFirst };

struct MergeOptions {
    PropertyRules Properties;
    DocumentationRule Documentation = DocumentationRule::Conflict;
    std::string NowDate, NowTime;  // the Date and Time texts that DateTimeRule::Now writes
};

// One side of one object: its lines (without line breaks) in RESULT's encoding, and the date
// and time its record holds. Absent when the side's file lacks the object.
struct ObjectSide {
    bool Present = false;
    std::vector<std::string> Lines;
    double Date = 0;
    double Time = 0;
};

struct ObjectMerge {
    MergeStatus Status = MergeStatus::Unchanged;
    int Conflicts = 0;
    // What RESULT holds: nothing, one side's object whole, or the merged Lines.
    enum class Take { None, Modified, Target, Merged } Result = Take::None;
    std::vector<std::string> Lines;
    // The merged Version List runs past kVersionListLimit (kept whole).
    bool LongVersionList = false;
};

// A side changed the object when its lines differ from ORIGINAL's anywhere, properties included.
ObjectMerge MergeObject(const ObjectSide& original, const ObjectSide& modified, const ObjectSide& target,
                        const MergeOptions& options);

// The three sides' lines as MergeObject diffs them: without their OBJECT-PROPERTIES blocks when
// all three hold the object (the properties merge apart), else whole.
std::array<std::vector<std::string>, 3> ComparedLines(const ObjectSide& original, const ObjectSide& modified,
                                                      const ObjectSide& target);

// One object of the three files in the report: named by TARGET's record where it has one,
// else MODIFIED's, else ORIGINAL's (names in the records' ANSI code page).
struct MergeEntry {
    int Type = 0;
    int Id = 0;
    std::string Name;
    MergeStatus Status = MergeStatus::Unchanged;
    int Conflicts = 0;
    bool LongVersionList = false;
};

struct MergeReport {
    std::vector<MergeEntry> Objects;  // in type and ID order
    std::array<int, kMergeStatusCount> Counts{};
    int Conflicts() const { return Counts[static_cast<size_t>(MergeStatus::Conflict)]; }
};

// Where RESULT goes, object by object in type and ID order: each object's text in TARGET's
// encoding, through its closing brace's line break (RESULT's separator line is the sink's).
class MergeSink {
public:
    virtual ~MergeSink() = default;
    // Called once before the first object: TARGET's line break and whether it starts with the
    // UTF-8 byte-order mark.
    virtual void Begin(std::string_view lineEnd, bool bom) = 0;
    virtual void Object(int type, int id, std::string_view text) = 0;
};

// Merges three loaded text exports, reading each object's text back through its span one at a
// time. `selected` (when given) picks the objects merged, by the record that names them;
// others are neither reported nor written. A side in another encoding than TARGET's is
// converted line by line. Raises EKavloError when a file changed since it was loaded.
MergeReport MergeFiles(const TFob& original, const TFob& modified, const TFob& target, const MergeOptions& options,
                       MergeSink& sink, const std::function<bool(const TFobRec&)>& selected = {});

// One object of the three files, read and merged as MergeFiles does: its sides (each file's
// first record of the type and ID), their merge, the name MergeFiles reports, and the
// encoding of the lines (TARGET's).
struct ObjectSides {
    std::string Name;
    ObjectSide Original, Modified, Target;
    ObjectMerge Merge;
    bool Utf8 = false;
    int CodePage = 0;
};
// Raises EKavloError when a file changed since it was loaded.
ObjectSides ReadObjectSides(const TFob& original, const TFob& modified, const TFob& target, const MergeOptions& options,
                            int type, int id);

}  // namespace kavlo
