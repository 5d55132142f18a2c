// The ten object type names and the normalisation of type and flag texts.
#include "objfile/object_types.h"

#include "objfile/conversions.h"

namespace kavlo {

std::string_view TrimBlanks(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

int FobTypeIndex(std::string_view text) {
    const std::string_view t = TrimBlanks(text);
    for (int i = 0; i < kObjectTypeCount; ++i)
        if (ObjectTypeNames[i] == t) return i;
    return -1;
}

bool IsFobType(std::string_view text) { return FobTypeIndex(text) >= 0; }

std::string ObjectFileName(int type, int id) {
    static constexpr std::array<std::string_view, kObjectTypeCount> kPrefixes = {
        "", "TAB", "FOR", "REP", "DAT", "COD", "XML", "MEN", "PAG", "QUE"};
    if (type < 1 || type >= kObjectTypeCount) return {};
    return std::string(kPrefixes[static_cast<size_t>(type)]) + std::to_string(id) + ".TXT";
}

std::string NormalizeTypeText(std::string_view text) {
    if (text.empty()) return {};
    const std::string lower = LowerAscii(TrimBlanks(text));
    for (std::string_view name : ObjectTypeNames)
        if (LowerAscii(name) == lower) return std::string(name);
    for (std::string_view name : ObjectTypeNames)
        if (LowerAscii(name).starts_with(lower)) return std::string(name);
    return std::string(text);
}

std::string NormalizeBoolText(std::string_view text) {
    if (text.empty()) return {};
    const std::string lower = LowerAscii(text);
    const auto prefixOf = [&](std::string_view word) { return word.starts_with(lower); };
    if (prefixOf("true")) return "True";
    if (prefixOf("false")) return "False";
    if (prefixOf("on")) return "True";
    if (prefixOf("off")) return "False";
    const WholeNumber n = ParseWholeNumber(text);
    if (n.valid) {
        if (n.value > 0) return "True";
        if (n.value == 0) return "False";
    }
    return std::string(text);
}

}  // namespace kavlo
