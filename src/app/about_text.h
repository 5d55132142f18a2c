// What the about box shows and opens, apart from its window: the shortened version and the
// address a link label opens.
#pragma once
#include <string>
#include <string_view>

namespace kavlo {

// The about box's fixed texts.
inline constexpr std::string_view kAboutRights = "\xA9 2026 Kavlodex developers";  // © in 1252
inline constexpr std::string_view kAboutAuthor = "The Kavlodex developers";
inline constexpr std::string_view kAboutEmail = "kavlodex@kavlodex.example";
inline constexpr std::string_view kAboutWebSite = "http://www.kavlodex.example/";

// "2.5.0.0" -> "2.5": while longer than 4 characters and ending in ".0", the ".0" goes.
std::string ShortenVersion(std::string version);

// The address a link label opens: an e-mail address as "mailto:" + address + "?subject=" +
// the box's caption (not encoded); anything else with "http://" in front unless it has it.
std::string LinkTarget(std::string_view caption, std::string_view boxCaption);

}  // namespace kavlo
