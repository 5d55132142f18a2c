// "Three-Way Merge": asks for ORIGINAL, MODIFIED and TARGET (each a text export or a folder of
// object files, typed or chosen with File… and Folder…) and for the result (a file, or with
// "One file per object" a folder). Edits the paths it is given; the run checks them.
#pragma once
#include <windows.h>

#include <memory>

#include "app/command_context_win.h"
#include "app/merge_document.h"
#include "gui/modal_dialog_win.h"
#include "settings/settings.h"

namespace kavlo {

class TMergeForm : public TRecordDialog<MergePaths> {
public:
    TMergeForm();

protected:
    bool OnInit() override;
    bool OnOk() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void Browse(int row, bool folder);
    void ShowResultKind();
};

// Three-Way Merge: the dialog, owned by the context's window, on the paths the settings keep,
// which take the dialog's on OK; then the run under the context's progress bar. The merged
// document; null when the dialog or the run was cancelled.
std::shared_ptr<TMergeDocument> ThreeWayMergeCommand(const CommandContext& context, TSettings& settings);

}  // namespace kavlo
