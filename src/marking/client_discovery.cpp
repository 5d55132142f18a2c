// Client discovery over the desktop's top-level windows.
#include "marking/client_discovery.h"

namespace kavlo {

void ListNavisionClients(Desktop& d, std::string_view className, NavClientList& list) {
    for (WindowId w : d.TopLevelWindows()) {
        const std::string cls = d.ClassName(w);
        if (cls.empty() || cls != className) continue;
        std::string caption = d.Caption(w);
        if (caption.empty()) continue;
        list.push_back({std::move(caption), w});
    }
}

WindowId FindNavisionClient(Desktop& d, std::string_view className, SelectNavDialog& dialog,
                            const std::function<void(std::string_view)>& tell) {
    const std::string cls(className);
    NavClientList clients;
    ListNavisionClients(d, cls, clients);
    if (clients.empty()) {
        tell(kNoNavisionClient);
        return 0;
    }
    if (clients.size() == 1) return clients.front().window;
    return dialog.Select(clients, [&d, cls] {
        NavClientList fresh;
        ListNavisionClients(d, cls, fresh);
        return fresh;
    });
}

}  // namespace kavlo
