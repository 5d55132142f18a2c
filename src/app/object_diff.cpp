// The "Object Differences" window's contents: the row's object, both versions of its text side
// by side, and the texts for binary data and for formats that cannot be compared.
#include "app/object_diff.h"

#include <algorithm>
#include <charconv>

#include "objfile/object_content.h"
#include "objfile/object_types.h"
#include "platform/code_page.h"

namespace kavlo {

namespace {

constexpr size_t kTabStop = 8;

// The lines are UTF-8: a tab stop is counted in characters (code points), not bytes.
void ExpandTabsIn(std::string& line) {
    if (line.find('\t') == std::string::npos) return;
    std::string out;
    size_t column = 0;
    for (char c : line) {
        if (c == '\t') {
            out.append(kTabStop - column % kTabStop, ' ');
            column += kTabStop - column % kTabStop;
        } else {
            out += c;
            column += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }
    }
    line = std::move(out);
}

std::string Grouped(size_t n) {
    std::string s = std::to_string(n);
    for (int at = static_cast<int>(s.size()) - 3; at > 0; at -= 3) s.insert(static_cast<size_t>(at), ",");
    return s;
}

}  // namespace

int ExpandTabs(std::vector<std::string>& lines) {
    int longest = 0;
    for (std::string& l : lines) {
        ExpandTabsIn(l);
        longest = std::max(longest, static_cast<int>(Utf8Length(l)));
    }
    return longest;
}

std::optional<ObjectKey> RowObject(const TVisibleList& list, int row) {
    if (row < 1 || row > list.AddedRowCount()) return std::nullopt;
    ObjectKey key;
    key.Type = FobTypeIndex(list.Cell(row, ColumnType));
    const std::string_view id = TrimBlanks(list.Cell(row, ColumnID));
    const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), key.ID);
    if (key.Type < 0 || ec != std::errc() || end != id.data() + id.size()) return std::nullopt;
    if (key.Type == 0) key.Qualifier = std::string(list.Cell(row, ColumnVersion));
    return key;
}

std::optional<ObjectPair> FindInBoth(const TFob& fob1, const TFob& fob2, const ObjectKey& key) {
    auto find = [&](const TFob& fob) {
        return key.Type == 0 ? fob.FindFobByText(key.Type, key.ID, key.Qualifier) : fob.FindFob(key.Type, key.ID);
    };
    const int i1 = find(fob1), i2 = find(fob2);
    if (i1 < 0 || i2 < 0) return std::nullopt;
    return ObjectPair{i1, i2};
}

ObjectDiff MakeObjectDiff(const TFob& fob1, int index1, const TFob& fob2, int index2) {
    ObjectDiff d;
    const TFobRec& rec1 = fob1.Fob(index1);
    const TFobRec& rec2 = fob2.Fob(index2);
    d.Caption = std::string(kObjectDiffCaption) + " - " +
                std::string(ObjectTypeNames[static_cast<size_t>(rec1.ObjType)]) + " " + std::to_string(rec1.ID) +
                " " + rec1.Name.str();
    if (rec2.Name.view() != rec1.Name.view()) d.Caption += " / " + rec2.Name.str();
    d.Heading1 = "File 1: " + fob1.FileName();
    d.Heading2 = "File 2: " + fob2.FileName();
    if (!ContentsComparable(fob1, fob2)) {
        d.Message = NotComparableText(fob1, fob2) + ".";
        d.Summary = "Not comparable";
        return d;
    }
    ObjectContent c1 = ReadObjectContent(fob1, index1);
    ObjectContent c2 = ReadObjectContent(fob2, index2);
    if (c1.Kind == ContentKind::Binary || c2.Kind == ContentKind::Binary) {
        const bool same = c1.Bytes == c2.Bytes;
        d.Message = "The object data is binary: it is compared, not shown.\n\nThe stored bytes are " +
                    std::string(same ? "identical" : "different") + " (file 1: " + Grouped(c1.Bytes.size()) +
                    " bytes, file 2: " + Grouped(c2.Bytes.size()) + " bytes).";
        d.Summary = same ? "Binary data, identical" : "Binary data, different";
        return d;
    }
    d.View = LayOutSideBySide(DiffLines(c1.Lines, c2.Lines));
    d.Lines1 = std::move(c1.Lines);
    d.Lines2 = std::move(c2.Lines);
    d.LongestLine = std::max(ExpandTabs(d.Lines1), ExpandTabs(d.Lines2));
    d.Summary = ChangeSummary(d.View);
    return d;
}

}  // namespace kavlo
