#include "folder/split_export.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "folder/object_texts.h"
#include "objfile/object_types.h"
#include "platform/file.h"

namespace kavlo {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string CannotSplit(const TFob& fob, const std::string& why) {
    return "Cannot split \"" + fob.FileName() + "\": " + why;
}

}  // namespace

EFileExists::EFileExists(const std::string& fileName)
    : EKavloError("File \"" + fileName + "\" exists already."), fileName_(fileName) {}

void CheckSplittable(const std::string& fileName) {
    const std::string ext = TFob::ExtensionOf(fileName);
    std::string kind;
    if (IsFolder(fileName)) kind = "a folder";
    else if (ext == ".xml") kind = "an XML export";
    else if (ext == ".fob") kind = "an object file";
    else if (ext == ".fbk") kind = "a backup";
    else if (ext != ".txt") kind = "no object file";
    if (!kind.empty())
        throw EKavloError("Only text exports (.txt) split into object files; \"" + fileName + "\" is " + kind + ".");
}

int SplitExport(const TFob& fob, const std::string& folder, const SplitOptions& options) {
    CheckSplittable(fob.FileName());
    FilterTexts filters = options.Filters;
    NormaliseFilters(filters);
    const PreparedFilters prepared = PrepareFilters(filters);

    // The chosen objects, each once.
    std::vector<int> chosen;
    std::unordered_map<std::string, int> byName;  // the file name in lower case -> record
    for (int i = 0; i < fob.Count(); ++i) {
        const TFobRec& rec = fob.Fob(i);
        if (!IncludedByType(rec, options.Types, options.HideSystemObjects) || !FilterPasses(prepared, rec)) continue;
        const std::string name = ObjectFileName(rec.ObjType, rec.ID);
        if (name.empty()) throw EKavloError(CannotSplit(fob, ObjectTitle(rec) + " is table data, which has no file of its own."));
        if (!byName.emplace(LowerAscii(name), i).second)
            throw EKavloError(CannotSplit(fob, "it holds " + ObjectTitle(rec) + " twice."));
        chosen.push_back(i);
    }

    // The files already there, by their names in lower case: Windows takes TAB18.TXT and
    // tab18.txt for one file, so a split must too wherever it runs.
    std::unordered_map<std::string, std::string> existing;
    if (IsFolder(folder))
        for (FolderEntry& entry : ListFolder(folder))
            if (!entry.IsFolder) existing.emplace(LowerAscii(entry.Name), std::move(entry.Name));
    std::vector<std::string> targets;
    targets.reserve(chosen.size());
    for (int i : chosen) {
        const TFobRec& rec = fob.Fob(i);
        std::string name = ObjectFileName(rec.ObjType, rec.ID);
        if (const auto found = existing.find(LowerAscii(name)); found != existing.end()) {
            if (!options.Force) throw EFileExists(PathInFolder(folder, found->second));
            name = found->second;
        }
        targets.push_back(PathInFolder(folder, name));
    }

    // Read all before writing any: a failure then leaves the folder as it was.
    std::vector<std::string> texts = ReadObjectTexts(fob, chosen, "split");
    if (fob.Content().Utf8)
        for (std::string& text : texts) text.insert(0, kUtf8Mark);

    CreateFolder(folder);
    for (size_t k = 0; k < texts.size(); ++k) WriteFileReplacing(targets[k], texts[k]);
    return static_cast<int>(texts.size());
}

}  // namespace kavlo
