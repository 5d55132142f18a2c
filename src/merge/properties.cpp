// The property block of a text export's object, taken apart and merged.
#include "merge/properties.h"

#include <algorithm>

#include "base/text_lines.h"

namespace kavlo {

namespace {

// "    Version List=NAVW17.00;" -> "Version List"; "" for a line without "=".
std::string_view KeyOf(std::string_view line) {
    const size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : TrimSpaces(line.substr(0, eq));
}

// The value as the text reader takes it: after the first "=", less a final ";", less the
// brackets around it.
std::string_view ValueOf(std::string_view line) {
    const size_t eq = line.find('=');
    std::string_view v = eq == std::string_view::npos ? line : line.substr(eq + 1);
    if (v.ends_with(';')) v.remove_suffix(1);
    if (v.size() >= 2 && v.front() == '[' && v.back() == ']') v = v.substr(1, v.size() - 2);
    return v;
}


// The text after the first "=", as it stands.
std::string_view ValueText(std::string_view line) {
    const size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
}

std::vector<std::string_view> SplitTags(std::string_view list) {
    std::vector<std::string_view> tags;
    if (list.empty()) return tags;
    for (size_t start = 0;;) {
        const size_t comma = list.find(',', start);
        tags.push_back(list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) return tags;
        start = comma + 1;
    }
}

// Two runs of digits as numbers, of any length.
int CompareNumbers(std::string_view a, std::string_view b) {
    while (!a.empty() && a.front() == '0') a.remove_prefix(1);
    while (!b.empty() && b.front() == '0') b.remove_prefix(1);
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace

PropertyBlock FindPropertyBlock(const std::vector<std::string>& lines) {
    const size_t limit = std::min<size_t>(lines.size(), 4);
    for (size_t k = 1; k < limit; ++k) {
        if (TrimSpaces(lines[k]) != "OBJECT-PROPERTIES") continue;
        if (k + 1 >= lines.size() || TrimSpaces(lines[k + 1]) != "{") return {};
        for (size_t e = k + 2; e < lines.size(); ++e)
            if (TrimSpaces(lines[e]) == "}") return {k, e + 1};
        return {};
    }
    return {};
}

ObjectProperties ReadProperties(const std::vector<std::string>& lines, PropertyBlock block) {
    ObjectProperties p;
    p.Lines.assign(lines.begin() + static_cast<std::ptrdiff_t>(block.Begin),
                   lines.begin() + static_cast<std::ptrdiff_t>(block.End));
    for (const std::string& line : p.Lines) {
        const std::string_view key = KeyOf(line);
        if (key == "Date") p.DateLine = line;
        else if (key == "Time") p.TimeLine = line;
        else if (key == "Modified") p.ModifiedLine = line;
        else if (key == "Version List") p.VersionLine = line;
    }
    // As the reader has it: a Modified line counts whatever it says.
    p.Modified = !p.ModifiedLine.empty();
    p.Version = std::string(ValueOf(p.VersionLine));
    return p;
}

std::string_view TagPrefix(std::string_view tag) {
    size_t n = tag.size();
    while (n > 0 && ((tag[n - 1] >= '0' && tag[n - 1] <= '9') || tag[n - 1] == '.')) --n;
    return tag.substr(0, n);
}

int CompareTagVersions(std::string_view a, std::string_view b) {
    a.remove_prefix(TagPrefix(a).size());
    b.remove_prefix(TagPrefix(b).size());
    // Part by part; a missing part counts as 0.
    while (!a.empty() || !b.empty()) {
        const size_t da = std::min(a.find('.'), a.size()), db = std::min(b.find('.'), b.size());
        if (const int c = CompareNumbers(a.substr(0, da), b.substr(0, db)); c != 0) return c;
        a.remove_prefix(std::min(da + 1, a.size()));
        b.remove_prefix(std::min(db + 1, b.size()));
    }
    return 0;
}

std::string MergeVersionLists(std::string_view modified, std::string_view target) {
    const std::vector<std::string_view> mTags = SplitTags(modified), tTags = SplitTags(target);
    std::vector<std::string_view> out;
    for (std::string_view t : tTags) {
        std::string_view best = t;
        for (std::string_view m : mTags)
            if (TagPrefix(m) == TagPrefix(t) && CompareTagVersions(m, best) > 0) best = m;
        out.push_back(best);
    }
    for (std::string_view m : mTags) {
        const bool targetHas =
            std::any_of(tTags.begin(), tTags.end(), [&](std::string_view t) { return TagPrefix(t) == TagPrefix(m); });
        if (!targetHas) out.push_back(m);
    }
    std::string joined;
    for (size_t i = 0; i < out.size(); ++i) {
        if (i) joined += ',';
        joined += out[i];
    }
    return joined;
}

std::vector<std::string> MergeProperties(const SideProperties& modified, const SideProperties& target,
                                         const PropertyRules& rules, const std::string& nowDate,
                                         const std::string& nowTime) {
    const ObjectProperties& m = modified.Block;
    const ObjectProperties& t = target.Block;
    if (t.Lines.empty()) return m.Lines;
    const std::string indent(t.DateLine.substr(0, t.DateLine.find_first_not_of(" \t") == std::string::npos
                                                      ? 0
                                                      : t.DateLine.find_first_not_of(" \t")));

    bool fromModified = rules.DateTime == DateTimeRule::Modified;
    if (rules.DateTime == DateTimeRule::Later)
        fromModified = modified.Date > target.Date || (modified.Date == target.Date && modified.Time > target.Time);
    std::string dateLine = fromModified && !m.DateLine.empty() ? m.DateLine : t.DateLine;
    std::string timeLine = fromModified && !m.TimeLine.empty() ? m.TimeLine : t.TimeLine;
    if (rules.DateTime == DateTimeRule::Now) {
        dateLine = indent + "Date=" + nowDate + ";";
        timeLine = indent + "Time=" + nowTime + ";";
    }

    bool flag = m.Modified || t.Modified;
    if (rules.ModifiedFlag == ModifiedRule::Target) flag = t.Modified;
    if (rules.ModifiedFlag == ModifiedRule::Modified) flag = m.Modified;
    if (rules.ModifiedFlag == ModifiedRule::Clear) flag = false;
    const std::string modifiedLine = !t.ModifiedLine.empty()   ? t.ModifiedLine
                                     : !m.ModifiedLine.empty() ? m.ModifiedLine
                                                               : indent + "Modified=Yes;";

    std::string version = rules.Version == VersionRule::Target     ? t.Version
                          : rules.Version == VersionRule::Modified ? m.Version
                                                                   : MergeVersionLists(m.Version, t.Version);
    const std::string_view tValue = ValueText(t.VersionLine);
    const bool brackets = tValue.starts_with('[');
    const std::string versionLine = indent + "Version List=" + (brackets ? "[" + version + "]" : version) + ";";

    std::vector<std::string> out;
    for (const std::string& line : t.Lines) {
        const std::string_view key = KeyOf(line);
        if (key == "Date") {
            out.push_back(dateLine);
        } else if (key == "Time") {
            out.push_back(timeLine);
            if (flag && t.ModifiedLine.empty()) out.push_back(modifiedLine);
        } else if (key == "Modified") {
            if (flag) out.push_back(modifiedLine);
        } else if (key == "Version List") {
            out.push_back(versionLine);
        } else {
            out.push_back(line);
        }
    }
    return out;
}

}  // namespace kavlo
