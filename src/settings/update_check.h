// The update check: the release date of the running build against the date that the program's
// web site publishes for the newest version. The procedure is portable; what it touches (the
// network test, the build's own date, the HTTP request, the boxes, the browser) comes in an
// UpdateCheckEnv, which the Windows edge fills with the real thing: the sources in
// settings/update_check_win, the boxes and the browser in app/update_check_ui_win.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace kavlo {

inline constexpr std::string_view kUpdateCheckCaption = "Check for updates";
// The host of the program's web site, which serves the update information file and the page.
inline constexpr std::string_view kWebSiteHost = "www.kavlodex.example";
inline constexpr std::string_view kNewVersionQuestion =
    "There is a new version available. Would you like to go to the website?";

// Result codes of CheckForNewVersion; a code above 0 is a verdict.
enum UpdateCheckResult : int {
    kNoNetwork = -1,
    kOwnDateMissing = -2,
    kNewestDateUnreadable = -3,
    kNewerVersionAvailable = 1,
    kUpToDate = 2,
    kNewerThanPublished = 3,
};

enum class BoxIcon { Information, Warning, Error, Question };

struct UpdateCheckEnv {
    std::string site = std::string(kWebSiteHost);  // host (and port) of the web site
    std::function<bool()> networkPresent;
    std::function<std::string()> ownDate;                          // the build's "Date" string
    std::function<std::string(const std::string& url)> httpGetText;  // the body, empty on failure
    std::function<void(const std::string& text, BoxIcon icon)> tell;  // a box with OK
    std::function<bool(const std::string& text, BoxIcon icon)> ask;   // Yes, No, Cancel: true on Yes
    std::function<void()> openWebsite;
};

// http:// + the web site + "/navision.htm", and + "/kavlo.txt".
std::string WebPageUrl(std::string_view site = kWebSiteHost);
std::string UpdateInfoUrl(std::string_view site = kWebSiteHost);

// The text with every character other than 0 to 9 removed.
std::string DigitsOnly(std::string_view text);

// The date text of an update information file: the first "Date=" taken out wherever it stands,
// then everything from the first carriage return on.
std::string NewestDateText(std::string text);

// The network test, the build's date, the newest date and their comparison, with the boxes of
// an interactive check (none when silent). Returns an UpdateCheckResult.
int CheckForNewVersion(const UpdateCheckEnv& env, bool silent);

// Whether the check at start is due: switched on, and today is on or after the last verdict's
// date plus the days between checks.
bool UpdateCheckDue(const TSettings& settings, double today);

// Today's local date as a day serial without time of day, like CheckForUpdatesLastDate.
double LocalToday();

}  // namespace kavlo
