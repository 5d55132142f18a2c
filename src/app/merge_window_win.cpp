// The Merge window and the main window's list of them.
#include "app/merge_window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "app/frame_size_win.h"
#include "base/errors.h"
#include "gui/gdi_handles_win.h"
#include "objfile/object_types.h"
#include "res/resource.h"

namespace kavlo {

namespace {

constexpr char kMergeClass[] = "TMergeWindow";
constexpr int kMergeDesignWidth = 640, kMergeDesignHeight = 420;
constexpr int kMergeMinimumWidth = 460, kMergeMinimumHeight = 200;
constexpr const char* kColumns[] = {"Type", "ID", "Name", "Status", "Conflicts"};
constexpr int kColumnWidths[] = {80, 70, 220, 80, 70};  // design pixels
constexpr char kAllStatuses[] = "All statuses";

std::string CellText(const MergeEntry& e, int column) {
    switch (column) {
    case 0: return std::string(ObjectTypeNames[static_cast<size_t>(e.Type)]);
    case 1: return std::to_string(e.Id);
    case 2: return e.Name;
    case 3: return std::string(MergeStatusName(e.Status));
    default: return e.Conflicts ? std::to_string(e.Conflicts) : std::string();
    }
}

}  // namespace

TMergeWindow::~TMergeWindow() {
    // Closed while this object is whole, so that the window's size is kept.
    if (hwnd_) DestroyWindow(hwnd_);
}

void TMergeWindow::Create(std::shared_ptr<const TMergeDocument> doc, const RECT& rect, MergeWindowCommands commands,
                          ClosedSize closed) {
    doc_ = std::move(doc);
    commands_ = std::move(commands);
    closed_ = std::move(closed);
    HICON icon = LoadIcon(AppInstance(), MAKEINTRESOURCE(IDI_KAVLODEX));
    RegisterClassOnce(kMergeClass, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      icon ? icon : LoadIcon(nullptr, IDI_APPLICATION));
    dpi_ = WindowDpi(nullptr);
    const std::string caption = std::string(kMergeCaption) + " - " + doc_->Paths().Result;
    CreateWindowOf(kMergeClass, WS_EX_CONTROLPARENT, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                   rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr);
    if (!hwnd_) throw EKavloError("The window \"" + std::string(kMergeCaption) + "\" could not be created.");
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    SetFocus(list_);
}

bool TMergeWindow::OnCreate() {
    dpi_ = WindowDpi(hwnd_);
    font_ = CreateMessageFont(8, dpi_);
    const auto child = [&](const char* cls, const char* text, DWORD style, int id, DWORD ex = 0) {
        HWND h = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance(), nullptr);
        SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        return h;
    };
    // In Tab order: the filter, the list, the two buttons.
    filterLabel_ = child("STATIC", "&Status:", SS_LEFT | SS_CENTERIMAGE, IdFilterLabel);
    filter_ = child("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, IdFilter);
    list_ = child(WC_LISTVIEWA, "", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP | WS_GROUP, IdList,
                  WS_EX_CLIENTEDGE);
    mark_ = child("BUTTON", "&Mark Conflicts in Object Designer", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IdMark);
    save_ = child("BUTTON", "Sa&ve Conflicts...", BS_PUSHBUTTON | WS_TABSTOP, IdSave);
    status_ = child(STATUSCLASSNAMEA, "", SBARS_SIZEGRIP, IdStatus);
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int c = 0; c < 5; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.fmt = c == 1 || c == 4 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        col.cx = Scaled(kColumnWidths[c]);
        col.pszText = const_cast<char*>(kColumns[c]);
        SendMessageA(list_, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
    SendMessageA(filter_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAllStatuses));
    filterStatuses_ = doc_->RowStatuses();
    for (MergeStatus s : filterStatuses_)
        SendMessageA(filter_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(MergeStatusName(s)).c_str()));
    SendMessageA(filter_, CB_SETCURSEL, 0, 0);
    const bool conflicts = doc_->Report().Conflicts() > 0;
    EnableWindow(mark_, conflicts);
    EnableWindow(save_, conflicts);
    SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(doc_->CountsText().c_str()));
    FillRows();
    lastFocus_ = list_;
    return true;
}

void TMergeWindow::FillRows() {
    const int choice = static_cast<int>(SendMessageA(filter_, CB_GETCURSEL, 0, 0));
    rows_ = choice > 0 ? doc_->Rows(filterStatuses_[static_cast<size_t>(choice - 1)]) : doc_->Rows();
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < rows_.size(); ++i) {
        for (int c = 0; c < 5; ++c) {
            std::string text = CellText(rows_[i], c);
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(i);
            item.iSubItem = c;
            item.pszText = text.data();
            SendMessageA(list_, c == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, c == 0 ? 0 : i,
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    if (!rows_.empty()) {
        LVITEMA state{};
        state.stateMask = state.state = LVIS_FOCUSED | LVIS_SELECTED;
        SendMessageA(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    }
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

std::string TMergeWindow::StatusText() const {
    char text[512] = "";
    SendMessageA(status_, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

bool TMergeWindow::PreTranslate(const MSG& msg) {
    if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    // The dialog manager moves the focus by WM_NEXTDLGCTL, which only a dialog answers (under
    // Wine for Tab too): the window moves it itself for Tab and for the filter's label.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && !(GetKeyState(VK_CONTROL) & 0x8000)) {
        if (HWND next = GetNextDlgTabItem(hwnd_, GetFocus(), (GetKeyState(VK_SHIFT) & 0x8000) != 0)) SetFocus(next);
        return true;
    }
    if (msg.message == WM_SYSCHAR && (msg.wParam == 's' || msg.wParam == 'S')) {
        SetFocus(filter_);
        return true;
    }
    MSG copy = msg;
    return IsDialogMessageA(hwnd_, &copy) != FALSE;
}

void TMergeWindow::OpenRow(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    const MergeEntry& e = rows_[static_cast<size_t>(row)];
    if (commands_.openObject) commands_.openObject(doc_, e.Type, e.Id, hwnd_);
    else MessageBeep(MB_OK);
}

void TMergeWindow::MarkConflicts() {
    if (commands_.mark) commands_.mark(hwnd_, doc_->ConflictList());
}

void TMergeWindow::SaveConflicts() {
    if (commands_.save) commands_.save(hwnd_, doc_->ConflictList());
}

bool TMergeWindow::OnSize(int width, int height) {
    const int margin = Scaled(6), rowHeight = Scaled(23), labelWidth = Scaled(44), comboWidth = Scaled(130);
    SendMessageA(status_, WM_SIZE, 0, 0);
    RECT sr{};
    GetWindowRect(status_, &sr);
    const int statusHeight = sr.bottom - sr.top;
    const int saveWidth = Scaled(110), markWidth = Scaled(200);
    MoveWindow(filterLabel_, margin, margin, labelWidth, rowHeight, TRUE);
    MoveWindow(filter_, margin + labelWidth, margin, comboWidth, Scaled(200), TRUE);
    MoveWindow(save_, width - margin - saveWidth, margin, saveWidth, rowHeight, TRUE);
    MoveWindow(mark_, width - 2 * margin - saveWidth - markWidth, margin, markWidth, rowHeight, TRUE);
    const int top = 2 * margin + rowHeight;
    MoveWindow(list_, margin, top, std::max(0, width - 2 * margin), std::max(0, height - top - margin - statusHeight),
               TRUE);
    return true;
}

bool TMergeWindow::OnGetMinMaxInfo(MINMAXINFO& info) {
    info.ptMinTrackSize = {Scaled(kMergeMinimumWidth), Scaled(kMergeMinimumHeight)};
    return true;
}

bool TMergeWindow::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IdFilter:
        if (code == CBN_SELCHANGE) FillRows();
        return true;
    case IdMark: MarkConflicts(); return true;
    case IdSave: SaveConflicts(); return true;
    case IDOK:  // Enter: the list's row, or the focused button
        if (GetFocus() == list_) OpenRow(static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, -1, LVNI_FOCUSED)));
        else if (GetFocus() == mark_) MarkConflicts();
        else if (GetFocus() == save_) SaveConflicts();
        return true;
    case IDCANCEL:  // Escape
        DestroyWindow(hwnd_);
        return true;
    }
    return false;
}

bool TMergeWindow::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != list_ || header.code != NM_DBLCLK) return false;
    OpenRow(reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
    result = 0;
    return true;
}

// The focus comes back to the control that had it when the window was left.
bool TMergeWindow::OnFocus(bool gained) {
    if (!gained) return false;
    SetFocus(lastFocus_ && IsWindowEnabled(lastFocus_) ? lastFocus_ : list_);
    return true;
}

void TMergeWindow::OnActivate(WPARAM state) {
    if (LOWORD(state) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    }
}

void TMergeWindow::OnDestroy() {
    WINDOWPLACEMENT wp{sizeof wp};
    if (closed_ && GetWindowPlacement(hwnd_, &wp)) {
        const RECT& n = wp.rcNormalPosition;
        closed_(UnscaleFromDpi(n.right - n.left, dpi_), UnscaleFromDpi(n.bottom - n.top, dpi_));
    }
}

// ---- the main window's list ----------------------------------------------------------------

TMergeWindow& TMergeWindows::Open(std::shared_ptr<const TMergeDocument> doc, HWND mainWindow, TSettings& settings,
                                  MergeWindowCommands commands) {
    std::erase_if(windows_, [](const auto& w) { return !w->Handle(); });
    const int dpi = WindowDpi(mainWindow);
    const int width = ScaleToDpi(settings.MergeWindowWidth > 0 ? settings.MergeWindowWidth : kMergeDesignWidth, dpi);
    const int height = ScaleToDpi(settings.MergeWindowHeight > 0 ? settings.MergeWindowHeight : kMergeDesignHeight, dpi);
    const RECT rect = CascadedRect(mainWindow, windows_.empty() ? mainWindow : windows_.back()->Handle(),
                                   std::max(width, ScaleToDpi(kMergeMinimumWidth, dpi)),
                                   std::max(height, ScaleToDpi(kMergeMinimumHeight, dpi)));
    if (!commands.openObject) {
        commands.openObject = [this](const std::shared_ptr<const TMergeDocument>& d, int type, int id, HWND owner) {
            objectWindows_.Open(d, type, id, owner);
        };
    }
    auto window = std::make_unique<TMergeWindow>();
    window->Create(std::move(doc), rect, std::move(commands), [&settings](int w, int h) {
        settings.MergeWindowWidth = w;
        settings.MergeWindowHeight = h;
    });
    windows_.push_back(std::move(window));
    return *windows_.back();
}

bool TMergeWindows::PreTranslate(const MSG& msg) {
    for (const auto& w : windows_)
        if (w->PreTranslate(msg)) return true;
    return false;
}

void TMergeWindows::CloseAll() {
    objectWindows_.CloseAll();
    windows_.clear();
}

std::vector<TMergeWindow*> TMergeWindows::OpenWindows() const {
    return OpenWindowsOf(windows_, [](const auto& w) { return w.get(); });
}

}  // namespace kavlo
