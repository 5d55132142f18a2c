// What the update check shares with the main window: the caption of its boxes, the program's
// web page, and today's date as the check's dates count it.
#pragma once
#include <string>
#include <string_view>

namespace kavlo {

inline constexpr std::string_view kUpdateCheckCaption = "Check for updates";
// The host of the program's web site, which serves the update information file and the page.
inline constexpr std::string_view kWebSiteHost = "www.kavlodex.example";
inline constexpr std::string_view kNewVersionQuestion =
    "There is a new version available. Would you like to go to the website?";

// http:// + the web site + "/navision.htm"
std::string WebPageUrl();

// Today's local date as a day serial without time of day, like CheckForUpdatesLastDate.
double LocalToday();

}  // namespace kavlo
