// The OBJECT-PROPERTIES of a text export's object (Date, Time, Modified, Version List) as the
// merge takes them apart and puts them together again, and the tag-by-tag merge of version
// lists.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

// Where the property block stands among an object's lines: its "OBJECT-PROPERTIES" line, its
// braces and the property lines between them, [Begin, End). Found only right below the
// object's opening brace (within its first four lines); Begin == End when there is none.
struct PropertyBlock {
    size_t Begin = 0;
    size_t End = 0;
};
PropertyBlock FindPropertyBlock(const std::vector<std::string>& lines);

// The block's lines taken apart: the line of each property (empty when the block has none)
// and its value as the text reader takes it (without "=", the final ";" and brackets).
struct ObjectProperties {
    std::vector<std::string> Lines;  // the whole block
    std::string DateLine, TimeLine, ModifiedLine, VersionLine;
    bool Modified = false;
    std::string Version;
};
ObjectProperties ReadProperties(const std::vector<std::string>& lines, PropertyBlock block);

// The version number at a tag's end: its trailing run of digits and dots ("NAVW111.00.00.20348"
// has prefix "NAVW" and version "111.00.00.20348"), compared part by part as numbers.
int CompareTagVersions(std::string_view a, std::string_view b);
std::string_view TagPrefix(std::string_view tag);

// TARGET's tags in TARGET's order, each the higher version of itself and MODIFIED's tag of the
// same prefix, then MODIFIED's tags whose prefix TARGET lacks, in MODIFIED's order.
std::string MergeVersionLists(std::string_view modified, std::string_view target);

// A version list longer than this does not fit the Version List of an export.
inline constexpr size_t kVersionListLimit = 80;

// Which side each merged property comes from.
enum class DateTimeRule { Later, Target, Modified, Now };
enum class ModifiedRule { Either, Target, Modified, Clear };
enum class VersionRule { Merge, Target, Modified };

struct PropertyRules {
    DateTimeRule DateTime = DateTimeRule::Later;
    ModifiedRule ModifiedFlag = ModifiedRule::Either;
    VersionRule Version = VersionRule::Merge;
};

// What a side's properties are worth beside its block: the date and time as the reader read
// them (day serial and fraction; 0 when they did not parse).
struct SideProperties {
    ObjectProperties Block;
    double Date = 0;
    double Time = 0;
};

// The merged block, laid out as TARGET's: Date and Time lines of the side the rule picks
// (Later: MODIFIED's only when its date and time are later than TARGET's; `nowDate` and
// `nowTime` are the texts written for Now), a Modified=Yes line after Time when the rule says
// so, and the Version List the rule gives, in brackets when TARGET's stands in brackets.
std::vector<std::string> MergeProperties(const SideProperties& modified, const SideProperties& target,
                                         const PropertyRules& rules, const std::string& nowDate,
                                         const std::string& nowTime);

}  // namespace kavlo
