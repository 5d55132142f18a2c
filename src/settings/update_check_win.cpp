#include "settings/update_check_win.h"

#include <shellapi.h>

#include <string>

#include "settings/update_check.h"

namespace kavlo {

void OpenWebsite() {
    ShellExecuteA(nullptr, "open", WebPageUrl().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void AskGoToWebsite(HWND owner, const std::function<void()>& openWebsite) {
    const std::string text(kNewVersionQuestion), caption(kUpdateCheckCaption);
    if (MessageBoxA(owner, text.c_str(), caption.c_str(), MB_ICONQUESTION | MB_YESNOCANCEL) == IDYES)
        openWebsite();
}

}  // namespace kavlo
