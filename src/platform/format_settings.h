// The user's regional date and time formats, as one value. On Windows they come from the
// user's locale; natively from kavlo's options or the environment's locale; in tests they are
// fixed. Pictures are Windows-style: d dd ddd dddd, M MM MMM MMMM, y yy yyyy, g gg for dates;
// h hh H HH m mm s ss t tt for times; text in single quotes is literal ('' is a quote).
#pragma once
#include <array>
#include <string>

namespace kavlo {

struct FormatSettings {
    std::string shortDateFormat = "dd-MM-yy";
    char dateSeparator = '-';
    std::string longTimeFormat = "HH:mm:ss";
    char timeSeparator = ':';
    std::string amDesignator = "AM";
    std::string pmDesignator = "PM";
    // Two-digit years are read into the hundred years that end with this year, as Windows'
    // "When a two-digit year is entered" setting does (its default is 2049).
    int twoDigitYearMax = 2049;
    std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames{"January", "February", "March",     "April",
                                               "May",     "June",     "July",      "August",
                                               "September", "October", "November", "December"};
    // Sunday first, as Windows' day names.
    std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
};

}  // namespace kavlo
