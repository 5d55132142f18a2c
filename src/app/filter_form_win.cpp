// The filter dialog, its two-column grid with the always-open editor, and the text-input box.
#include "app/filter_form_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "gui/dpi_win.h"
#include "listing/filter_string.h"
#include "listing/visible_list.h"
#include "res/resource.h"

namespace kavlo {

namespace {

const char kFilterGridClass[] = "TFilterStringGrid";
constexpr int kLine = 1, kRows = 11;
constexpr int kFilterClientWidth = 252, kFilterClientHeight = 273;

}  // namespace

TFilterForm::TFilterForm() : TRecordDialog(IDD_FILTER, kFilterClientWidth, kFilterClientHeight) {
    // A 10-point font, as the dialog's grid has.
    const int height = -MulDiv(10, ScreenDpi(), 72);
    font_.reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Shell Dlg"));
}

TFilterForm::~TFilterForm() = default;

RECT TFilterForm::ValueCell(int row) const {
    const int top = row * (RowHeight() + kLine);
    return RECT{ColWidth(0) + kLine, top, ColWidth(0) + kLine + ColWidth(1), top + RowHeight()};
}

bool TFilterForm::OnInit() {
    const int gridW = ColWidth(0) + ColWidth(1) + 3 * kLine + 4;
    const int gridH = kRows * (RowHeight() + kLine) + 4;
    grid_.Create((Scale(kFilterClientWidth) - gridW) / 2, Scale(8), gridW, gridH);
    // The buttons below the grid.
    SetWindowPos(GetDlgItem(hwnd_, IDOK), nullptr, Scale(kFilterClientWidth - 2 * 83), Scale(kFilterClientHeight - 33), Scale(75),
                 Scale(25), SWP_NOZORDER);
    SetWindowPos(GetDlgItem(hwnd_, IDCANCEL), nullptr, Scale(kFilterClientWidth - 83), Scale(kFilterClientHeight - 33), Scale(75),
                 Scale(25), SWP_NOZORDER);
    // The editor is always shown, on the Value cell of the current row.
    HWND editor = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 10, 10,
                                  grid_.Handle(), nullptr, AppInstance(), nullptr);
    SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    editor_.Attach(editor);
    row_ = 1;
    SelectRow(startRow_ + 1);
    SetFocus(editor);
    return false;  // the focus is set
}

void TFilterForm::StoreEditor() {
    if (editor_.Handle() && row_ >= 1 && row_ <= kColumnCount)
        value_[static_cast<size_t>(row_ - 1)] = WindowText(editor_.Handle());
}

void TFilterForm::SelectRow(int row) {
    row = std::max(1, std::min(kColumnCount, row));
    StoreEditor();
    row_ = row;
    const RECT cell = ValueCell(row_);
    HWND editor = editor_.Handle();
    MoveWindow(editor, cell.left + 2, cell.top + 2, cell.right - cell.left - 3, cell.bottom - cell.top - 3, TRUE);
    SetWindowTextA(editor, value_[static_cast<size_t>(row_ - 1)].c_str());
    SendMessageA(editor, EM_SETSEL, 0, -1);
    InvalidateRect(grid_.Handle(), nullptr, TRUE);
}

void TFilterForm::PaintGrid(HDC dc) {
    RECT client{};
    GetClientRect(grid_.Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SelectGuard f(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    UniquePen line(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    SelectGuard p(dc, line.get());
    for (int r = 0; r < kRows; ++r) {
        int x = 0;
        for (int c = 0; c < 2; ++c) {
            const RECT cell{x, r * (RowHeight() + kLine), x + ColWidth(c), r * (RowHeight() + kLine) + RowHeight()};
            const bool fixed = r == 0 || c == 0;
            FillRect(dc, &cell, GetSysColorBrush(fixed ? COLOR_BTNFACE : COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(fixed ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
            std::string text = r == 0 ? (c == 0 ? "Name" : "Value")
                                      : c == 0 ? std::string(ColumnTitles[static_cast<size_t>(r - 1)])
                                               : value_[static_cast<size_t>(r - 1)];
            RECT clip = cell;
            ExtTextOutA(dc, cell.left + 2, cell.top + 2, ETO_CLIPPED, &clip, text.c_str(),
                        static_cast<UINT>(text.size()), nullptr);
            MoveToEx(dc, cell.right, cell.top, nullptr);
            LineTo(dc, cell.right, cell.bottom + 1);
            MoveToEx(dc, cell.left, cell.bottom, nullptr);
            LineTo(dc, cell.right + 1, cell.bottom);
            x = cell.right + kLine;
        }
    }
}

void TFilterForm::TGrid::Create(int x, int y, int w, int h) {
    RegisterClassOnce(kFilterGridClass, 0, nullptr, nullptr);
    CreateWindowOf(kFilterGridClass, WS_EX_CLIENTEDGE, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, w, h,
                   form_.hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FILTER_GRID)));
}

bool TFilterForm::TGrid::OnPaint() {
    PaintGuard pg(hwnd_);
    form_.PaintGrid(pg.dc());
    return true;
}

bool TFilterForm::TGrid::OnMouseDown(MouseButton button, int, int y) {
    if (button != MouseButton::Left) return false;
    const int row = y / (form_.RowHeight() + kLine);
    if (row >= 1 && row <= kColumnCount) {
        form_.SelectRow(row);
        SetFocus(form_.editor_.Handle());
    }
    return true;
}

bool TFilterForm::TGrid::OnFocus(bool gained) {
    if (!gained) return false;
    if (form_.editor_.Handle()) SetFocus(form_.editor_.Handle());
    return true;
}

LRESULT TFilterForm::TEditor::OnGetDlgCode() { return DLGC_WANTALLKEYS | Default(); }

bool TFilterForm::TEditor::OnKey(WPARAM vk) {
    if (vk == VK_UP || vk == VK_DOWN) {
        form_.SelectRow(form_.row_ + (vk == VK_UP ? -1 : 1));
        return true;
    }
    return vk == VK_RETURN || vk == VK_ESCAPE;
}

bool TFilterForm::TEditor::OnChar(WPARAM ch) { return ch == '\r' || ch == 27; }  // no beep

bool TFilterForm::TEditor::OnKeyUp(WPARAM vk) {
    if (vk == VK_RETURN) form_.Accept();
    else if (vk == VK_ESCAPE) form_.End(IDCANCEL);
    return vk == VK_RETURN || vk == VK_ESCAPE;
}

bool TFilterForm::OnOk() {
    StoreEditor();
    return true;
}

namespace {

// The standard text-input box: a caption, a label and one edit; edits the text it is given.
class TInputQueryForm : public TRecordDialog<std::string> {
public:
    TInputQueryForm(std::string caption, std::string label)
        : TRecordDialog(IDD_INPUTQUERY, 0, 0), caption_(std::move(caption)), label_(std::move(label)) {}

protected:
    bool OnInit() override {
        SetWindowTextA(hwnd_, caption_.c_str());
        SetDlgItemTextA(hwnd_, IDC_QUERY_LABEL, label_.c_str());
        SetDlgItemTextA(hwnd_, IDC_QUERY_EDIT, value_.c_str());
        HWND edit = GetDlgItem(hwnd_, IDC_QUERY_EDIT);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
        return false;
    }
    bool OnOk() override {
        value_ = WindowText(GetDlgItem(hwnd_, IDC_QUERY_EDIT));
        return true;
    }

private:
    std::string caption_, label_;
};

}  // namespace

bool InputQuery(HWND owner, const std::string& caption, const std::string& label, std::string& value) {
    return TInputQueryForm(caption, label).Edit(owner, value);
}

bool AskFieldFilter(HWND owner, FilterTexts& filters, int column, std::string_view currentCell) {
    std::string value = FieldFilterValue(filters, column, currentCell);
    if (!InputQuery(owner, "Field Filter", FieldFilterLabel(column), value)) return false;
    filters[static_cast<size_t>(column)] = value;
    return true;
}

}  // namespace kavlo
