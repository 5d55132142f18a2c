// The marking procedure, step by step as the user would do it in the Object Designer.
#include "marking/marking.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>

#include "marking/keystrokes.h"
#include "objfile/object_types.h"

namespace kavlo {

namespace {

constexpr std::string_view kMdiClientClass = "MDIClient";
constexpr std::string_view kFormClass = "C/SIDE Form";
constexpr int kStartPace = 500;

class MarkingRun {
public:
    MarkingRun(Desktop& d, const TVisibleList& list, const MarkingOptions& o,
               const std::function<void(std::string_view)>& tell)
        : d_(d), list_(list), o_(o), tell_(tell) {}

    void Run(WindowId client);

private:
    bool Prepare();
    void MarkRows();
    void Finish();
    // Whether the focus is checked a second time, after the first row's extra pause, before the
    // value is entered (the Type filter does, the ID filter does not).
    enum class FocusCheck { Once, AgainBeforeValue };
    bool SetFieldFilter(const std::string& caption, bool firstRow, FocusCheck check,
                        const std::function<void()>& enterValue);

    // Stops the run when the client is no longer the foreground window; true while it goes on.
    bool CheckFocus() {
        if (d_.Foreground() != client_) interrupted_ = true;
        return !interrupted_;
    }
    void Tap(uint8_t key, KeyModifiers m = ModNone) {
        PressKey(d_, key, m);
        d_.Sleep(50);
    }
    void Press(uint8_t key, KeyModifiers m = ModNone) { PressKey(d_, key, m); }
    void Sleep(int ms) { d_.Sleep(static_cast<uint32_t>(std::max(ms, 0))); }
    void WaitFor(const std::string& caption, bool appear, int tries, int ms) {
        for (int i = 0; i < tries; ++i)
            if (WaitForWindow(d_, mdi_, kFormClass, caption, appear, ms)) return;
    }
    // The time since StartTimer at 4 ms resolution, at least 100.
    void StartTimer() { timer_ = d_.TickCount() / 4; }
    int Measure() {
        const int64_t ms = (static_cast<int64_t>(d_.TickCount() / 4) - static_cast<int64_t>(timer_)) * 4;
        return static_cast<int>(std::clamp<int64_t>(ms, 100, INT_MAX / 2));
    }
    int Type(int row) const { return FobTypeIndex(list_.Cell(row, ColumnType)); }
    int Id(int row) const { return MarkingId(list_.Cell(row, ColumnID)); }

    Desktop& d_;
    const TVisibleList& list_;
    const MarkingOptions& o_;
    const std::function<void(std::string_view)>& tell_;
    WindowId client_ = 0, mdi_ = 0, designer_ = 0;
    bool interrupted_ = false;
    int pace_ = kStartPace;
    bool calibrated_ = false;
    ScreenPoint probe_;
    uint32_t timer_ = 0;
};

void MarkingRun::Run(WindowId client) {
    client_ = client;
    if (!Prepare()) return;
    if (!interrupted_) MarkRows();
    Finish();
}

// Up to the Object Designer ready for filtering; false when the run stops before any key.
bool MarkingRun::Prepare() {
    if (d_.IsMinimized(client_)) d_.Restore(client_);
    d_.SetForeground(client_);
    const uint32_t pid = d_.WindowProcessId(client_);
    if (pid == 0) {
        tell_(d_.ErrorText(d_.LastError()));
        return false;
    }
    // SYNCHRONIZE as well: waiting on a process handle needs it, and without it the idle wait
    // fails with "Access denied".
    const ProcessId process = d_.OpenProcess(kProcessQueryInformation | kSynchronize, pid);
    if (process == 0) {
        tell_(d_.ErrorText(d_.LastError()));
        return false;
    }
    const uint32_t idle = d_.WaitForInputIdle(process, 1000);
    const uint32_t error = idle != 0 && idle != kWaitTimeout ? d_.LastError() : 0;
    d_.CloseProcess(process);
    if (idle == kWaitTimeout) return false;
    if (idle != 0) {
        tell_(d_.ErrorText(error));
        return false;
    }
    d_.Sleep(100);

    mdi_ = d_.FindChild(client_, kMdiClientClass, std::nullopt);
    if (mdi_ == 0) {
        tell_(kMdiClientNotFound);
        return false;
    }
    designer_ = d_.FindChild(mdi_, kFormClass, o_.objectDesigner);
    if (designer_ != 0 && d_.IsMinimized(designer_)) d_.Restore(designer_);
    Sleep(200);
    Press(vk::F12, ModShift);
    Sleep(200);

    pace_ = kStartPace;
    StartTimer();
    WaitFor(o_.objectDesigner, true, 20, 1000);
    pace_ = std::max(pace_, Measure());
    Sleep(pace_);
    Sleep(pace_);
    CheckFocus();
    if (!interrupted_) {
        designer_ = d_.FindChild(mdi_, kFormClass, o_.objectDesigner);
        CheckFocus();
    }
    if (!interrupted_) {
        // All records, no filter, the cursor on the first record.
        Press('A', ModAlt);
        Press(vk::F7, ModShift | ModCtrl);
        Press(vk::Up, ModCtrl);
        Press(vk::Left, ModCtrl);
        Press(vk::Right, ModCtrl);
        Press(vk::Home, ModCtrl);
        Sleep(pace_);
        CheckFocus();
    }
    if (!interrupted_) {
        calibrated_ = false;
        if (o_.intelligentMarking && designer_ != 0) {
            if (const std::optional<ScreenRect> r = d_.WindowRect(designer_)) {
                const ScreenRect area{r->left + kProbeAreaOffset.left, r->top + kProbeAreaOffset.top,
                                      r->left + kProbeAreaOffset.right, r->top + kProbeAreaOffset.bottom};
                if (const std::optional<ScreenPoint> p = FindMarkProbe(d_, area, o_.probe)) {
                    calibrated_ = true;
                    probe_ = *p;
                }
            }
        }
        CheckFocus();
    }
    return true;
}

// The field filter of the column the cursor is in: F7 opens its window, which is waited for by
// its caption while the pace follows the client's answer; the value is entered, Up and Enter
// close the window, which is waited for to go. The first row takes an extra pause after each
// wait. False when the client lost the focus on the way (the run is interrupted).
bool MarkingRun::SetFieldFilter(const std::string& caption, bool firstRow, FocusCheck check,
                                const std::function<void()>& enterValue) {
    Tap(vk::F7);
    StartTimer();
    WaitFor(caption, true, 10, pace_);
    pace_ = (pace_ + Measure()) / 2;
    Sleep(pace_);
    if (!CheckFocus()) return false;
    if (firstRow) Sleep(pace_);
    if (check == FocusCheck::AgainBeforeValue && !CheckFocus()) return false;
    enterValue();
    Tap(vk::Up);
    Tap(vk::Return);
    WaitFor(caption, false, 10, pace_);
    Sleep(pace_);
    if (!CheckFocus()) return false;
    if (firstRow) Sleep(pace_);
    return true;
}

// An object by type and ID, as one key.
uint64_t ObjectKeyOf(int type, int id) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(type)) << 32) | static_cast<uint32_t>(id);
}

void MarkingRun::MarkRows() {
    int lastType = -1;
    const int lastRow = list_.LastRow();
    // The objects whose mark has been set. A comparison list names an object once per file,
    // and Ctrl+F1 on a marked object takes its mark away again: each object is marked once,
    // and a later row of it is passed over. A list that names each object once is untouched.
    std::unordered_set<uint64_t> handled;
    for (int row = 1; row <= lastRow;) {
        Sleep(100);
        if (!CheckFocus()) break;
        const int type = Type(row);
        const int id = Id(row);
        // TableData is never marked, nor a row that names no type or no object, nor an object
        // marked already.
        if (type < 1 || type > 9 || id == 0 || handled.contains(ObjectKeyOf(type, id))) {
            ++row;
            continue;
        }
        const bool first = row == 1;
        Tap(vk::Home);

        if (type != lastType) {
            const auto typeDigit = [&] { Press(static_cast<uint8_t>('0' + type)); };
            if (!SetFieldFilter(o_.fieldFilterType, first, FocusCheck::AgainBeforeValue, typeDigit)) break;
            lastType = type;
        }

        Press(vk::Right);
        // Up to 50 objects of the consecutive rows of this type, their IDs in list order; rows
        // of objects already in hand are covered without adding their IDs again. n counts the
        // rows covered, objects the IDs in the filter.
        handled.insert(ObjectKeyOf(type, id));
        int n = 1, objects = 1;
        std::string filter = std::to_string(id);
        while (objects < kMaxBatch && row + n <= lastRow && Type(row + n) == type) {
            const int next = Id(row + n);
            ++n;
            // A row whose ID is no number adds a 0 each time, as it names no object.
            if (next != 0 && !handled.insert(ObjectKeyOf(type, next)).second) continue;
            filter += '|';
            filter += std::to_string(next);
            ++objects;
        }
        const auto typeIds = [&] { TypeText(d_, filter); };
        if (!SetFieldFilter(o_.fieldFilterID, first, FocusCheck::Once, typeIds)) break;
        Tap(vk::Up);
        if (first) Sleep(pace_);

        if (objects > 1) {
            Sleep(pace_);
            Press(vk::Home, ModCtrl);
            Sleep(pace_);
        }
        bool markNeeded = true;
        if (calibrated_) {
            Sleep(2 * pace_);
            // Black at the probe: the first record is marked already.
            markNeeded = ScreenPixel(d_, probe_) != kBlack;
        }
        if (objects > 1) {
            // Marking a selection gives every record the opposite of the current one's mark:
            // with the first already marked, it is unmarked first so that all end up marked.
            if (calibrated_ && !markNeeded) {
                Press(vk::F1, ModCtrl);
                Sleep(pace_);
            }
            if (!SendShortcut(d_, o_.selectAllShortcut)) Press('A', ModCtrl);
            Sleep(pace_);
            markNeeded = true;
        }
        if (!CheckFocus()) break;
        if (markNeeded) {
            Sleep(pace_);
            Press(vk::F1, ModCtrl);
            Sleep(pace_);
        }
        if (objects > 1) {
            Press(vk::Down);
            Press(vk::Up);
            Sleep(pace_);
        }
        if (!CheckFocus()) break;
        row += n;
    }
}

void MarkingRun::Finish() {
    if (!interrupted_) CheckFocus();
    if (!interrupted_) {
        d_.Sleep(100);
        Press(vk::F7, ModShift | ModCtrl);
        if (designer_ != 0) {
            // The client's own menu command that ends the session with the Object Designer.
            Press(vk::F10);
            d_.Sleep(10);
            Press(vk::Right);
            Press(vk::Right);
            if (d_.IsMaximized(designer_)) Press(vk::Right);
            d_.Sleep(10);
            for (int i = 0; i < 5; ++i) Press(vk::Down);
            d_.Sleep(10);
            Press(vk::Return);
            d_.Sleep(10);
            Press(vk::Home, ModCtrl);
        }
    }
    if (interrupted_) tell_(kMarkingInterrupted);
}

}  // namespace

int MarkingId(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i >= text.size()) return 0;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;
        v = v * 10 + (text[i] - '0');
        if (v > int64_t{INT_MAX} + 1) return 0;
    }
    v = negative ? -v : v;
    return v < INT_MIN || v > INT_MAX ? 0 : static_cast<int>(v);
}

void MarkObjectsInObjectDesigner(Desktop& d, const TVisibleList& list, const MarkingOptions& options,
                                 SelectNavDialog& dialog, const std::function<void(std::string_view)>& tell) {
    if (!HasRows(list, tell)) return;
    const WindowId client = FindNavisionClient(d, kNavisionClientClass, dialog, tell);
    if (client == 0 || !d.IsWindow(client)) return;
    MarkingRun(d, list, options, tell).Run(client);
}

}  // namespace kavlo
