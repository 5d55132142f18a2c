// The main window's document.
#include "app/session.h"

#include <exception>
#include <thread>
#include <utility>

#include "marking/mark_probe.h"
#include "objfile/load_object_file.h"
#include "platform/file.h"

namespace kavlo {

TSession::TSession(Hooks hooks) : hooks_(std::move(hooks)) {}

bool TSession::FileExists(const std::string& name) const {
    if (IsFolder(name)) return true;
    if (hooks_.fileExists) return hooks_.fileExists(name);
    try {
        return InputFile::Open(name) != nullptr;
    } catch (const std::exception&) {
        return false;
    }
}

// A folder is read as one text export of the object files in it; only a file has its
// extension checked.
void TSession::CheckFileType(const std::string& name) {
    if (!IsFolder(name)) TFob::CheckFileType(name);
}

bool TSession::IsKnownFileType(const std::string& name) {
    return IsFolder(name) || TFob::IsKnownFileType(name);
}

void TSession::SetDropped(int count, const std::string& first, const std::string& second) {
    droppedCount_ = count;
    droppedNames_ = {first, second};
}

void TSession::BuildList(const BuildMode& mode) {
    const auto busy = Busy();
    const ListSources sources{fob1_, fob2_, types_, settings_.HideSystemObjects, compare_,
                              filters_, static_cast<uint64_t>(loads_) + 1};
    if (hooks_.rebuilding) hooks_.rebuilding();
    kavlo::BuildList(mode, sources, built_);
    if (hooks_.rebuilt) hooks_.rebuilt();
}

void TSession::BuildComparison(const BuildMode& mode) {
    settings_.CompareContent = compare_.CompareContent;
    BuildList(mode);
}

bool TSession::NormaliseFilters() {
    kavlo::NormaliseFilters(filters_);
    bool any = false;
    for (const std::string& f : filters_) any |= !f.empty();
    return any;
}

void TSession::ClearFilters() {
    for (std::string& f : filters_) f.clear();
}

void TSession::Start(const std::vector<std::string>& arguments) {
    compare_.SortByFile = settings_.SortByFile;
    compare_.OnlyShowBoth = settings_.OnlyShowBoth;
    compare_.CompareContent = settings_.CompareContent;
    SetDropped(0);
    BuildList(BuildMode::Off());
    LoadCommandLine(arguments);
}

// A first name that is no file loads nothing. Two object files are read side by side; a second
// name that is no object file leaves the first loaded and raises.
void TSession::LoadCommandLine(const std::vector<std::string>& arguments) {
    std::vector<std::string> args;
    for (const std::string& a : arguments)
        if (!IsSaveAnalyzeSwitch(a)) args.push_back(a);
    if (!args.empty() && FileExists(args[0])) {
        SetDropped(1, args[0]);
        CheckFileType(args[0]);
        const bool second = args.size() >= 2 && FileExists(args[1]);
        if (second && IsKnownFileType(args[1])) {
            SetDropped(2, args[0], args[1]);
            LoadBothSlots(args[0], args[1]);
        } else {
            LoadIntoSlot(args[0], 1, false);
            if (second) {
                SetDropped(2, args[0], args[1]);
                CheckFileType(args[1]);  // raises: not an object file
                LoadIntoSlot(args[1], 2, false);
            }
        }
    }
    BuildList(BuildMode::Off());
}

void TSession::Clear() {
    SetDropped(0);
    ++loads_;
    fob1_.Clear();
    fob2_.Clear();
    BuildList(BuildMode::Off());
}

void TSession::OpenFile(const std::string& fileName, int fileNo) {
    CheckFileType(fileName);
    LoadIntoSlot(fileName, fileNo, false);
    BuildList(BuildMode::Off());
}

void TSession::Reload() {
    for (int fileNo : {1, 2}) {
        const std::string name = Fob(fileNo).FileName();
        if (!name.empty()) LoadIntoSlot(name, fileNo, false);
    }
    Rebuild();
}

bool TSession::Drop(const std::vector<std::string>& paths) {
    if (paths.size() != 1 && paths.size() != 2) return false;
    SetDropped(static_cast<int>(paths.size()), paths[0], paths.size() == 2 ? paths[1] : std::string());
    return true;
}

// One file goes to the slot the user chooses, two go to file 1 and file 2.
void TSession::LoadDropped() {
    if (hooks_.bringToFront) hooks_.bringToFront();
    if (droppedCount_ == 1) {
        CheckFileType(droppedNames_[0]);
        LoadIntoSlot(droppedNames_[0], 1, true);
        BuildList(BuildMode::Off());
    } else if (droppedCount_ == 2) {
        CheckFileType(droppedNames_[0]);
        CheckFileType(droppedNames_[1]);
        LoadBothSlots(droppedNames_[0], droppedNames_[1]);
        BuildList(BuildMode::Off());
    }
}

void TSession::LoadIntoSlot(const std::string& fileName, int fileNo, bool ask) {
    int number = fileNo;
    if (ask && hooks_.askFileNo) {
        const bool chosen = hooks_.askFileNo(number);
        if (hooks_.bringToFront) hooks_.bringToFront();
        if (!chosen) return;
    }
    if (IsFolder(fileName)) {
        LoadFolder(fileName, number == 1 ? 1 : 2);
        return;
    }
    const auto busy = Busy();
    ++loads_;
    LoadObjectFile(number == 1 ? fob1_ : fob2_, number == 1 ? 1 : 2, fileName, regional_.Get());
}

// A folder that holds other files too is read without them only when the user says so; until
// then the slot keeps what it held. Any other outcome goes to the slot as a file's would.
void TSession::LoadFolder(const std::string& folder, int fileNo) {
    LoadOptions options;
    for (;;) {
        TFob read;
        std::exception_ptr failed;
        std::vector<std::string> others;
        {
            const auto busy = Busy();
            try {
                LoadObjectFile(read, fileNo, folder, regional_.Get(), options);
            } catch (const EOtherFilesError& e) {
                if (!hooks_.openWithoutOthers) throw;
                others = e.FileNames();
            } catch (...) {
                failed = std::current_exception();
            }
        }
        if (!others.empty()) {
            if (!hooks_.openWithoutOthers(folder, others)) return;
            options.IgnoreOtherFiles = true;
            continue;
        }
        ++loads_;
        (fileNo == 1 ? fob1_ : fob2_) = std::move(read);
        if (failed) std::rethrow_exception(failed);
        return;
    }
}

// As LoadIntoSlot for file 1 and then for file 2, but file 2 is read on a second thread while
// file 1 is read: two whole-database exports load in the time of the larger. Slot 2 takes what
// was read only when file 1 loaded, as it would have been loaded only then; a failure of file 2
// leaves in it what was read before the failure, as LoadIntoSlot does.
void TSession::LoadBothSlots(const std::string& file1, const std::string& file2) {
    if (IsFolder(file1) || IsFolder(file2)) {  // a folder may ask a question: one after the other
        LoadIntoSlot(file1, 1, false);
        LoadIntoSlot(file2, 2, false);
        return;
    }
    const auto busy = Busy();
    const Regional regional = regional_.Get();
    TFob second;
    std::exception_ptr secondFailed;
    std::thread reader([&] {
        try {
            LoadObjectFile(second, 2, file2, regional);
        } catch (...) {
            secondFailed = std::current_exception();
        }
    });
    try {
        ++loads_;
        LoadObjectFile(fob1_, 1, file1, regional);
    } catch (...) {
        reader.join();
        throw;
    }
    reader.join();
    ++loads_;
    fob2_ = std::move(second);
    if (secondFailed) std::rethrow_exception(secondFailed);
}

}  // namespace kavlo
