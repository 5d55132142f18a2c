// "Compare": which fields decide that two objects are the same, the order of the rows, and
// whether one-sided objects count as different. Edits the CompareSettings it is given.
#pragma once
#include "gui/modal_dialog_win.h"
#include "gui/window_base_win.h"
#include "objfile/fob.h"

namespace kavlo {

class TCompareForm : public TRecordDialog<CompareSettings> {
public:
    TCompareForm();

protected:
    bool OnInit() override;  // FormShow: every check box from its field
    bool OnOk() override;    // every field from its check box
};

}  // namespace kavlo
