// The ten object types and the normalisation of type and flag texts.
#pragma once
#include <array>
#include <string>
#include <string_view>

namespace kavlo {

inline constexpr int kObjectTypeCount = 10;
inline constexpr std::array<std::string_view, kObjectTypeCount> ObjectTypeNames = {
    "TableData", "Table", "Form", "Report", "Dataport",
    "Codeunit",  "XMLport", "MenuSuite", "Page", "Query"};

inline constexpr std::array<std::string_view, 4> FileExtensions = {".fob", ".fbk", ".txt", ".xml"};

// An ID of 2,000,000,000 or more belongs to a system object.
inline constexpr int kFirstSystemId = 2000000000;

// The name of an object's own file in a folder of object files: the type's three-letter
// prefix and the ID, upper case, ".TXT" (TAB18.TXT, COD80.TXT); empty for table data, which
// has no text of its own.
std::string ObjectFileName(int type, int id);

// Removes leading and trailing blanks and control characters (bytes up to 0x20).
std::string_view TrimBlanks(std::string_view s);

// The number of the type named exactly (case counts) by the trimmed text, or -1.
int FobTypeIndex(std::string_view text);
bool IsFobType(std::string_view text);

// The filter value normalisations of the Type column and of the Modified and Compiled columns.
std::string NormalizeTypeText(std::string_view text);
std::string NormalizeBoolText(std::string_view text);

// Lower-cases ASCII letters only, as the extension and type comparisons do.
std::string LowerAscii(std::string_view s);

}  // namespace kavlo
