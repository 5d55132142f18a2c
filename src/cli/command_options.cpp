#include "cli/command_options.h"

#include <algorithm>

#include "objfile/object_types.h"
#include "platform/command_line.h"

namespace kavlo::cli {

std::vector<std::string> SplitList(const std::string& value) {
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= value.size()) {
        const size_t comma = std::min(value.find(',', start), value.size());
        const std::string item(TrimBlanks(std::string_view(value).substr(start, comma - start)));
        if (!item.empty()) items.push_back(item);
        start = comma + 1;
    }
    return items;
}

TypeSwitches ParseTypes(const std::string& value) {
    TypeSwitches types{};
    for (const std::string& item : SplitList(value)) {
        int found = -1;
        for (int t = 0; t < kObjectTypeCount && found < 0; ++t)
            if (LowerAscii(item) == LowerAscii(ObjectTypeNames[static_cast<size_t>(t)])) found = t;
        if (found < 0) throw UsageError{"unknown object type \"" + item + "\" in --types"};
        types[static_cast<size_t>(found)] = true;
    }
    return types;
}

namespace {

int FilterColumn(const std::string& name) {
    const auto squeeze = [](std::string_view s) {
        std::string out;
        for (char c : s)
            if (c != ' ') out += c;
        return LowerAscii(out);
    };
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return name[0] - '0';
    for (int c = 0; c < kColumnCount; ++c)
        if (squeeze(name) == squeeze(ColumnTitles[static_cast<size_t>(c)])) return c;
    throw UsageError{"unknown column \"" + name + "\" in --filter"};
}

}  // namespace

// The pattern is matched against the records' texts, so it is taken in their code page.
void AddFilter(FilterTexts& filters, const std::string& value) {
    const size_t eq = value.find('=');
    if (eq == std::string::npos) throw UsageError{"--filter takes COLUMN=PATTERN"};
    filters[static_cast<size_t>(FilterColumn(value.substr(0, eq)))] = ArgumentText(value.substr(eq + 1));
}

}  // namespace kavlo::cli
