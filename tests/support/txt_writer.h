// Writes text exports (.txt) from object descriptions, with switches that inject the faults and
// the variants the reader must cope with. Used by the tests and the benchmarks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kavlo::testing {

struct TxtObject {
    std::string type = "Table";  // written as it stands: "table" makes no object line
    int id = 0;
    std::string name;  // OEM bytes
    std::string date = "31-01-09";
    std::string time = "12:00:00";
    // The modified line's text; none is written when empty.
    std::string modified;
    std::string version = "NAVW17.00";  // OEM bytes
    bool bracketLine = false;           // "OBJECT [Table 18 Customer]"
    bool bracketVersion = false;        // "Version List=[NAVW17.00];"
    // The object line as a whole, instead of the one built from type, ID and name.
    std::string objectLineOverride;
    // Indentation of the property block's opening brace (2 puts it third, as it must be).
    int braceIndent = 2;
    // Body lines: fields and code as an export holds them, this many.
    int bodyLines = 3;
    // Lines of code between the CODE section's BEGIN and END. (its documentation trigger).
    std::vector<std::string> code;
};

struct TxtFile {
    std::vector<TxtObject> objects;
    std::string lineEnd = "\r\n";
    bool finalLineEnd = true;  // a line break after the last line
    // Blank lines at the end (after the last object's closing brace).
    int trailingLines = 0;
};

// The line numbers (from 0) of each object's "OBJECT" line in WriteTxt's output.
std::vector<size_t> TxtObjectLines(const TxtFile& file);

std::string WriteTxt(const TxtFile& file);

// Objects with the names, versions and dates of a realistic export; `bodyLines` sets how much
// of a body each object carries.
// An object of that type word, ID and name, with the defaults above.
TxtObject SimpleTxtObject(const std::string& type, int id, const std::string& name);
// Table 18 Customer (modified), Form 21 Customer Card (01-02-03 04:05:06, two versions) and
// Codeunit 80 Sales-Post.
TxtFile ThreeTxtObjects();

std::vector<TxtObject> RealisticTxtObjects(int count, uint32_t seed, int bodyLines);

}  // namespace kavlo::testing
