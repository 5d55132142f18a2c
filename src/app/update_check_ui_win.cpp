// The update check's boxes and the browser call, filled into the check's UpdateCheckEnv.
#include "app/update_check_ui_win.h"

#include <shellapi.h>

#include <string>

#include "settings/update_check_win.h"

namespace kavlo {

void OpenWebsite() {
    ShellExecuteA(nullptr, "open", WebPageUrl().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void AskGoToWebsite(HWND owner, const std::function<void()>& openWebsite) {
    const std::string text(kNewVersionQuestion), caption(kUpdateCheckCaption);
    if (MessageBoxA(owner, text.c_str(), caption.c_str(), MB_ICONQUESTION | MB_YESNOCANCEL) == IDYES)
        openWebsite();
}

void TakeUpdateCheckVerdict(HWND owner, int result, double& lastCheckDate,
                            const std::function<void()>& openWebsite) {
    if (result > 0) lastCheckDate = LocalToday();
    if (result == kNewerVersionAvailable) AskGoToWebsite(owner, openWebsite);
}

namespace {

UINT IconFlag(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Warning: return MB_ICONWARNING;
        case BoxIcon::Error: return MB_ICONERROR;
        case BoxIcon::Question: return MB_ICONQUESTION;
        case BoxIcon::Information: break;
    }
    return MB_ICONINFORMATION;
}

}  // namespace

UpdateCheckEnv SystemUpdateCheckEnv(HWND owner) {
    UpdateCheckEnv env = SystemUpdateCheckSources();
    const std::string caption(kUpdateCheckCaption);
    env.tell = [owner, caption](const std::string& text, BoxIcon icon) {
        MessageBoxA(owner, text.c_str(), caption.c_str(), IconFlag(icon));
    };
    env.ask = [owner, caption](const std::string& text, BoxIcon icon) {
        return MessageBoxA(owner, text.c_str(), caption.c_str(), IconFlag(icon) | MB_YESNOCANCEL) == IDYES;
    };
    env.openWebsite = OpenWebsite;
    return env;
}

}  // namespace kavlo
