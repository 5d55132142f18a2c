// The three-way merge of lines: the classic diff3 over the line diff of the listing layer.
// ORIGINAL is diffed against MODIFIED and against TARGET; the lines that both diffs keep in
// step divide the texts into stable runs and the chunks between them, and each chunk is
// taken from the side that changed it, from either when both changed it alike, or is a
// conflict when both changed it differently. Changes that touch without a stable line between
// them are one chunk, as diff3 has it.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace kavlo {

struct LineRange {
    size_t Begin = 0;
    size_t End = 0;
    size_t Size() const { return End - Begin; }
};

enum class ChunkKind {
    Stable,    // the same lines on all three sides
    Modified,  // only MODIFIED changed them
    Target,    // only TARGET changed them
    Both,      // both changed them to the same lines
    Conflict,  // both changed them differently
};

struct Diff3Chunk {
    ChunkKind Kind = ChunkKind::Stable;
    LineRange Original, Modified, Target;
};

// The chunks in order; together their ranges cover each side's lines once.
std::vector<Diff3Chunk> Diff3(const std::vector<std::string>& original, const std::vector<std::string>& modified,
                              const std::vector<std::string>& target);

// The conflict block's marker lines.
inline constexpr const char* kConflictStart = "<<<<<<< MODIFIED";
inline constexpr const char* kConflictOriginal = "||||||| ORIGINAL";
inline constexpr const char* kConflictSeparator = "=======";
inline constexpr const char* kConflictEnd = ">>>>>>> TARGET";

struct MergedLines {
    std::vector<std::string> Lines;
    int Conflicts = 0;  // conflict blocks written
};

// Settles a conflict chunk without a block: appends the lines that stand for it and returns
// true, or returns false to leave it a conflict.
using ConflictResolver = std::function<bool(const Diff3Chunk&, std::vector<std::string>& out)>;

// The merged lines: each chunk from the side that holds its change, each conflict as a block
// of whole lines: kConflictStart, MODIFIED's lines, kConflictOriginal, ORIGINAL's lines,
// kConflictSeparator, TARGET's lines, kConflictEnd.
MergedLines MergeLines(const std::vector<std::string>& original, const std::vector<std::string>& modified,
                       const std::vector<std::string>& target, const ConflictResolver& resolve = {});

}  // namespace kavlo
