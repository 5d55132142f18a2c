// The comparison settings dialog: nine check boxes bound to the fields of CompareSettings.
#include "app/compare_form_win.h"

#include "res/resource.h"

namespace kavlo {

namespace {

struct CompareBox {
    int id;
    bool CompareSettings::*field;
};
constexpr CompareBox kCompareBoxes[] = {
    {IDC_CHECKBOX_TYPEID, &CompareSettings::CompareTypeID},     {IDC_CHECKBOX_NAME, &CompareSettings::CompareName},
    {IDC_CHECKBOX_VERSION, &CompareSettings::CompareVersion},   {IDC_CHECKBOX_DATE, &CompareSettings::CompareDate},
    {IDC_CHECKBOX_TIME, &CompareSettings::CompareTime},         {IDC_CHECKBOX_BLOBSIZE, &CompareSettings::CompareBlobSize},
    {IDC_CHECKBOX_CONTENT, &CompareSettings::CompareContent},
    {IDC_CHECKBOX_SORTBYFILE, &CompareSettings::SortByFile},    {IDC_CHECKBOX_ONLYSHOWBOTH, &CompareSettings::OnlyShowBoth},
};

}  // namespace

TCompareForm::TCompareForm() : TRecordDialog(IDD_COMPARE, 180, 423) {}

bool TCompareForm::OnInit() {
    for (const CompareBox& b : kCompareBoxes) CheckDlgButton(hwnd_, b.id, value_.*b.field ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(hwnd_, IDC_CHECKBOX_TYPEID), FALSE);  // type and ID always decide
    return true;
}

bool TCompareForm::OnOk() {
    for (const CompareBox& b : kCompareBoxes) value_.*b.field = IsDlgButtonChecked(hwnd_, b.id) == BST_CHECKED;
    return true;
}

}  // namespace kavlo
