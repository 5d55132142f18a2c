// The update check's procedure over its environment, and its text and date rules.
#include "settings/update_check.h"

#include <ctime>

#include "base/calendar.h"

namespace kavlo {

std::string WebPageUrl(std::string_view site) { return "http://" + std::string(site) + "/navision.htm"; }
std::string UpdateInfoUrl(std::string_view site) { return "http://" + std::string(site) + "/kavlo.txt"; }

std::string DigitsOnly(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

std::string NewestDateText(std::string text) {
    if (const size_t at = text.find("Date="); at != std::string::npos) text.erase(at, 5);
    if (const size_t cr = text.find('\r'); cr != std::string::npos) text.erase(cr);
    return text;
}

int CheckForNewVersion(const UpdateCheckEnv& env, bool silent) {
    const auto tell = [&](std::string_view text, BoxIcon icon) {
        if (!silent) env.tell(std::string(text), icon);
    };
    const auto askGoToWebsite = [&](std::string_view text, BoxIcon icon) {
        if (!silent && env.ask(std::string(text), icon)) env.openWebsite();
    };
    if (!env.networkPresent()) {
        tell("No network connection detected.", BoxIcon::Warning);
        return kNoNetwork;
    }
    const std::string own = DigitsOnly(env.ownDate());
    if (own.empty()) {
        tell("WTF? Version Info Date for this application was not found. This should never happen!", BoxIcon::Error);
        return kOwnDateMissing;
    }
    const std::string newest = DigitsOnly(NewestDateText(env.httpGetText(UpdateInfoUrl(env.site))));
    if (newest.empty()) {
        askGoToWebsite("Unable to read newest version from website. Would you like to go to the website?",
                       BoxIcon::Warning);
        return kNewestDateUnreadable;
    }
    // Digits compare as bytes: the first difference decides, a prefix sorts first.
    const int order = own.compare(newest);
    if (order == 0) {
        tell("This version is up to date.", BoxIcon::Information);
        return kUpToDate;
    }
    if (order < 0) {
        askGoToWebsite(kNewVersionQuestion, BoxIcon::Information);
        return kNewerVersionAvailable;
    }
    tell("This version is actually newer than the newest version available.", BoxIcon::Information);
    return kNewerThanPublished;
}

bool UpdateCheckDue(const TSettings& settings, double today) {
    return settings.CheckForUpdates && today >= settings.CheckForUpdatesLastDate + settings.CheckForUpdatesDays;
}

double LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace kavlo
