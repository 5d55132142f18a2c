#include "app/compare_form_win.h"

#include "res/resource.h"

namespace kavlo {

namespace {

struct Box {
    int id;
    bool CompareSettings::*field;
};
constexpr Box kBoxes[] = {
    {IDC_CHECKBOX_TYPEID, &CompareSettings::CompareTypeID},     {IDC_CHECKBOX_NAME, &CompareSettings::CompareName},
    {IDC_CHECKBOX_VERSION, &CompareSettings::CompareVersion},   {IDC_CHECKBOX_DATE, &CompareSettings::CompareDate},
    {IDC_CHECKBOX_TIME, &CompareSettings::CompareTime},         {IDC_CHECKBOX_BLOBSIZE, &CompareSettings::CompareBlobSize},
    {IDC_CHECKBOX_SORTBYFILE, &CompareSettings::SortByFile},    {IDC_CHECKBOX_ONLYSHOWBOTH, &CompareSettings::OnlyShowBoth},
};

}  // namespace

TCompareForm::TCompareForm() : TModalDialog(IDD_COMPARE) {}

bool TCompareForm::OnInit() {
    RECT r{0, 0, 180, 400};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    CenterOn(GetWindow(hwnd_, GW_OWNER));
    if (Settings)
        for (const Box& b : kBoxes) CheckDlgButton(hwnd_, b.id, (*Settings).*b.field ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(hwnd_, IDC_CHECKBOX_TYPEID), FALSE);  // type and ID always decide
    return true;
}

bool TCompareForm::OnCommand(int id, int) {
    if (id != IDOK) return false;
    if (Settings)
        for (const Box& b : kBoxes) (*Settings).*b.field = IsDlgButtonChecked(hwnd_, b.id) == BST_CHECKED;
    End(IDOK);
    return true;
}

}  // namespace kavlo
