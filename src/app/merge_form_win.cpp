// The Three-Way Merge dialog and command.
#include "app/merge_form_win.h"

#include <optional>
#include <string>
#include <tuple>

#include "base/progress.h"
#include "gui/file_dialog_win.h"
#include "gui/progress_guard_win.h"
#include "gui/window_base_win.h"
#include "platform/regional.h"
#include "res/merge_ids.h"

namespace kavlo {

namespace {

constexpr const char* kRoles[] = {"Original", "Modified", "Target", "Result"};
constexpr int kResult = 3;

std::string* PathOf(MergePaths& p, int row) {
    std::string* paths[] = {&p.Original, &p.Modified, &p.Target, &p.Result};
    return paths[row];
}

}  // namespace

TMergeForm::TMergeForm() : TRecordDialog(IDD_MERGE, 0, 0) {}

bool TMergeForm::OnInit() {
    for (int row = 0; row < 4; ++row) SetDlgItemTextA(hwnd_, IDC_MERGE_EDIT + row, PathOf(value_, row)->c_str());
    CheckDlgButton(hwnd_, IDC_MERGE_PER_OBJECT, value_.ResultFolder ? BST_CHECKED : BST_UNCHECKED);
    ShowResultKind();
    return true;
}

bool TMergeForm::OnOk() {
    for (int row = 0; row < 4; ++row) *PathOf(value_, row) = WindowText(GetDlgItem(hwnd_, IDC_MERGE_EDIT + row));
    value_.ResultFolder = IsDlgButtonChecked(hwnd_, IDC_MERGE_PER_OBJECT) == BST_CHECKED;
    // What can be told without reading keeps the dialog open, to be put right.
    return Guarded(hwnd_, [&] { TMergeDocument::CheckPaths(value_); });
}

bool TMergeForm::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    if (id >= IDC_MERGE_FILE && id <= IDC_MERGE_FILE + kResult) {
        const int row = id - IDC_MERGE_FILE;
        Browse(row, row == kResult && IsDlgButtonChecked(hwnd_, IDC_MERGE_PER_OBJECT) == BST_CHECKED);
        return true;
    }
    if (id >= IDC_MERGE_FOLDER && id < IDC_MERGE_FOLDER + kResult) {
        Browse(id - IDC_MERGE_FOLDER, true);
        return true;
    }
    if (id == IDC_MERGE_PER_OBJECT) {
        ShowResultKind();
        return true;
    }
    return false;
}

void TMergeForm::Browse(int row, bool folder) {
    const HWND edit = GetDlgItem(hwnd_, IDC_MERGE_EDIT + row);
    const std::string now = WindowText(edit);
    static const char kFilter[] = "Text exports (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
    const std::optional<std::string> chosen =
        folder ? RunFolderDialog(hwnd_, std::string(kRoles[row]) + " Folder", now)
        : row == kResult ? RunFileDialog(hwnd_, kFilter, now, std::string(), OFN_OVERWRITEPROMPT, true, "txt")
                         : RunFileDialog(hwnd_, kFilter, now, std::string(), OFN_FILEMUSTEXIST, false);
    if (!chosen) return;
    SetWindowTextA(edit, chosen->c_str());
    SetFocus(edit);
}

// The result's browse button chooses a folder when the result is one file per object.
void TMergeForm::ShowResultKind() {
    const bool folder = IsDlgButtonChecked(hwnd_, IDC_MERGE_PER_OBJECT) == BST_CHECKED;
    SetDlgItemTextA(hwnd_, IDC_MERGE_FILE + kResult, folder ? "Folder..." : "File...");
}

std::shared_ptr<TMergeDocument> ThreeWayMergeCommand(const CommandContext& context, TSettings& s) {
    MergePaths paths{s.MergeOriginal, s.MergeModified, s.MergeTarget, s.MergeResult, s.MergeOneFilePerObject};
    TMergeForm dialog;
    if (!dialog.Edit(context.owner, paths)) return nullptr;
    std::tie(s.MergeOriginal, s.MergeModified, s.MergeTarget, s.MergeResult, s.MergeOneFilePerObject) =
        std::tie(paths.Original, paths.Modified, paths.Target, paths.Result, paths.ResultFolder);
    auto doc = std::make_shared<TMergeDocument>();
    // The window stays alive while the files load and merge; Escape cancels, leaving no result.
    ProgressGuard progress(context.showProgress, 100, context.owner);
    const SystemRegional regional;
    try {
        doc->Run(paths, regional.Get(), &progress);
    } catch (const ECancelled&) {
        return nullptr;
    }
    return doc;
}

}  // namespace kavlo
