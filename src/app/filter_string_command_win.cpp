// Save Filter String to Clipboard: the filter string of up to 140 IDs as the clipboard's text.
#include "app/filter_string_command_win.h"

#include "gui/clipboard_win.h"
#include "listing/filter_string.h"

namespace kavlo {

void MakeFilterStringCommand(const CommandContext& c) {
    if (!HasRows(c.list, c.tell)) return;
    const std::string text = MakeFilterString(c.list);
    if (!text.empty()) SetClipboardText(c.owner, text);
}

}  // namespace kavlo
