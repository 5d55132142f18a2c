// Marking the listed objects in a Navision client's Object Designer: the client is brought to
// the front, the Object Designer opened, and for each run of up to 50 consecutive objects of one
// type a Type and an ID field filter are set and the remaining records marked, all by
// keystrokes. Pauses adapt to how fast the client shows its filter windows; bringing any other
// window to the front stops the run.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "listing/visible_list.h"
#include "marking/client_discovery.h"
#include "marking/desktop.h"
#include "marking/mark_probe.h"

namespace kavlo {

// What marking takes of the user's settings: the client's captions in its language, its Select
// All shortcut, and whether to look at the screen before marking.
struct MarkingOptions {
    std::string objectDesigner;     // the Object Designer's caption
    std::string fieldFilterType;    // the Type column's field filter window
    std::string fieldFilterID;      // the ID column's field filter window
    std::string selectAllShortcut;  // e.g. "Ctrl+A"
    bool intelligentMarking = false;
    ProbeOptions probe;
};

inline constexpr std::string_view kMdiClientNotFound = "Navision MDI Client window was not found.";
inline constexpr std::string_view kMarkingInterrupted = "Marking of objects was interrupted.";

// The most IDs in one ID filter.
inline constexpr int kMaxBatch = 50;

// The ID cell read as a decimal integer; 0 when it is no number.
int MarkingId(std::string_view text);

// The run of the Mark button (Ctrl+M). Everything it has to say goes through `tell`.
void MarkObjectsInObjectDesigner(Desktop& d, const TVisibleList& list, const MarkingOptions& options,
                                 SelectNavDialog& dialog, const std::function<void(std::string_view)>& tell);

}  // namespace kavlo
