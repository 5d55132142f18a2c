// The inputs, the run's date and time, and RESULT's writers of a merge run.
#include "merge/merge_output.h"

#include <ctime>
#include <filesystem>
#include <system_error>

#include "base/calendar.h"
#include "base/errors.h"
#include "objfile/conversions.h"
#include "objfile/load_object_file.h"
#include "objfile/object_content.h"
#include "objfile/object_types.h"

namespace kavlo {

namespace {

constexpr std::string_view kTextsOnly = "merge takes text exports (.txt) and folders of object files";

}  // namespace

void CheckMergeable(const std::string& file) {
    if (IsFolder(file)) return;
    const std::string ext = TFob::ExtensionOf(file);
    const std::string_view kind = ext == ".xml" ? "an XML export" : ext == ".fob" ? "an object file" : ext == ".fbk" ? "a backup" : "";
    if (!kind.empty()) throw EKavloError(file + ": " + std::string(kind) + "; " + std::string(kTextsOnly));
    TFob::CheckFileType(file);
}

void LoadMergeInput(TFob& slot, int fileNo, const std::string& file, const Regional& regional,
                    const LoadOptions& options) {
    CheckMergeable(file);
    try {
        LoadObjectFile(slot, fileNo, file, regional, options);
    } catch (const EKavloError& e) {
        throw EKavloError(file + ": " + e.what());
    }
    if (ContentKindOf(slot) != ContentKind::Text) throw EKavloError(file + ": " + std::string(kTextsOnly));
}

std::pair<std::string, std::string> MergeNowTexts(const FormatSettings& fs) {
    const std::time_t now = std::time(nullptr);
    const std::tm* t = std::localtime(&now);
    const double date = EncodeDate(t->tm_year + 1900, t->tm_mon + 1, t->tm_mday);
    const double time = EncodeTime(t->tm_hour, t->tm_min, t->tm_sec, 0);
    std::string picture = fs.shortDateFormat;
    if (const size_t y = picture.find("yyyy"); y != std::string::npos) picture.erase(y, 2);
    return {FormatDatePicture(date, picture, fs), FormatTimePicture(time, "HH:mm:ss", fs)};
}

// `path`, once it is known to be none of the inputs: the file is created only then.
static const std::string& NoInput(const std::string& path, const std::vector<std::string>& inputs) {
    for (const std::string& in : inputs)
        if (SameExistingFile(path, in))
            throw EKavloError("The result " + path + " is the input " + in + "; it would be replaced");
    return path;
}

MergeFileSink::MergeFileSink(const std::string& path, const std::vector<std::string>& inputs)
    : file_(NoInput(path, inputs)) {}

void MergeFileSink::Begin(std::string_view lineEnd, bool bom) {
    lineEnd_ = lineEnd;
    if (bom) file_.Write("\xEF\xBB\xBF");
}

void MergeFileSink::Object(int, int, std::string_view text) {
    file_.Write(text);
    file_.Write(lineEnd_);
}

MergeFolderSink::MergeFolderSink(const std::string& dir, const std::vector<std::string>& inputs)
    : dir_(dir), temporary_(TemporaryNameBeside(dir)), inputs_(inputs) {
    for (const std::string& in : inputs_)
        if (SameExistingFolder(in, dir_))
            throw EKavloError("The result folder " + dir_ + " is the input folder " + in + "; it would be replaced");
    std::error_code ec;
    std::filesystem::create_directories(dir_, ec);
    if (ec) throw EFCreateError(dir_, ec.message());
    std::filesystem::create_directories(temporary_, ec);
    if (ec) throw EFCreateError(temporary_, ec.message());
}

MergeFolderSink::~MergeFolderSink() {
    std::error_code ec;
    std::filesystem::remove_all(temporary_, ec);
}

void MergeFolderSink::Object(int type, int id, std::string_view text) {
    const std::string name = ObjectFileName(type, id);
    for (const std::string& in : inputs_)
        if (SameExistingFile(PathInFolder(dir_, name), in))
            throw EKavloError("The result folder would replace the input " + in + " (" + name + ")");
    std::string bytes = bom_ ? "\xEF\xBB\xBF" : "";
    bytes += text;
    WriteWholeFile(PathInFolder(temporary_, name), bytes);
    names_.push_back(name);
}

void MergeFolderSink::Commit() {
    for (const std::string& name : names_) RenameReplacing(PathInFolder(temporary_, name), PathInFolder(dir_, name));
}

}  // namespace kavlo
